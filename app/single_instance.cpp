#include "app/single_instance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

const QByteArray kRaise = "raise\n";

} // namespace

void SingleInstance::listen()
{
    const QString socketPath = socketAddress();
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, this copy owns the name: a socket left by a dead
    // copy goes.
    QLocalServer::removeServer(socketPath);
    if (!m_server->listen(socketPath))
        return; // starting still works; only the raise is lost
    QLocalServer *server = m_server.get();
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->bytesAvailable() > 64) {
                    client->abort();
                    return;
                }
                if (client->canReadLine() && client->readLine() == kRaise)
                    Q_EMIT raiseRequested();
            });
        }
    });
}

bool SingleInstance::askRunningCopyToRaise() const
{
    QLocalSocket socket;
    socket.connectToServer(socketAddress());
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::raiseWindows()
{
    QWidget *front = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip)
            continue;
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        front = window;
    }
    if (QWidget *modal = QApplication::activeModalWidget())
        front = modal;
    if (front) {
        front->raise();
        front->activateWindow();
    }
}
