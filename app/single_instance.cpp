#include "app/single_instance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

const QByteArray kRaise = "raise\n";

} // namespace

void SingleInstance::listen(std::function<void()> onRaise)
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
    QObject::connect(server, &QLocalServer::newConnection, server, [server, onRaise] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client, onRaise] {
                if (client->bytesAvailable() > 64) {
                    client->abort();
                    return;
                }
                if (client->canReadLine() && client->readLine() == kRaise)
                    onRaise();
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
