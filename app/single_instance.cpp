#include "app/single_instance.h"

#include "app/platform_files.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

namespace {

const QByteArray kRaise = "raise\n";
// Clients beyond these are turned away at once, and each must speak within
// the time, so that a flood of connections cannot use up the process's files.
constexpr int kMostClients = 8;
constexpr int kClientMilliseconds = 2000;
// How often the socket is checked, and made again if it went.
constexpr int kWatchMilliseconds = 2000;

} // namespace

QString SingleInstance::defaultFolder()
{
    return SettingsFolder();
}

QString SingleInstance::defaultRuntimeFolder()
{
    return RuntimeFolder();
}

void SingleInstance::listen()
{
    if (!m_lock || listenAddress().isEmpty())
        return; // starting still works; only the raise is lost
    startServer();
    m_watch = new QTimer(this);
    m_watch->setInterval(kWatchMilliseconds);
    connect(m_watch, &QTimer::timeout, this, &SingleInstance::keepServing);
    m_watch->start();
}

void SingleInstance::startServer()
{
    const QString address = listenAddress();
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(kMostClients);
    // Holding the lock, this copy owns the name: a socket left by a dead
    // copy goes.
    QLocalServer::removeServer(address);
    if (!m_server->listen(address))
        return;
    publishAddress(m_server->fullServerName());
    QLocalServer *server = m_server.get();
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            if (server->findChildren<QLocalSocket *>(Qt::FindDirectChildrenOnly).size() > kMostClients) {
                client->abort();
                continue;
            }
            QTimer::singleShot(kClientMilliseconds, client, [client] { client->abort(); });
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

void SingleInstance::keepServing()
{
    // A server that stopped (Qt stops listening when a connection cannot be
    // taken) or a socket file that was removed is made again.
    if (!m_server || !m_server->isListening() || addressGone())
        startServer();
}

bool SingleInstance::askRunningCopyToRaise() const
{
    const QString address = raiseAddress();
    if (address.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(address);
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
