#include "app/single_instance.h"

#include <QApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLockName = QStringLiteral("ru-zuva-zize-vadiveziduzor.lock");
const QString kSocketName = QStringLiteral("ru-zuva-zize-vadiveziduzor.socket");
const QByteArray kRaise = "raise\n";

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A folder only this user can write to, and not a link.
bool isPrivateFolder(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) == 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &folder)
    : m_folder(folder)
{
}

SingleInstance::~SingleInstance()
{
    m_server.reset(); // removes the socket file
    if (m_fd >= 0)
        ::close(m_fd); // the kernel lock goes with it; the file stays, harmless
}

QString SingleInstance::defaultFolder()
{
    const QString uid = QString::number(::getuid());
    const QByteArray run = "/run/user/" + uid.toLatin1();
    struct stat st {};
    if (::lstat(run.constData(), &st) == 0 && isPrivateFolder(st))
        return QString::fromLatin1(run);
    return QStringLiteral("/tmp/ru-zuva-zize-vadiveziduzor-") + uid;
}

bool SingleInstance::makePrivateFolder()
{
    const QByteArray folder = QFile::encodeName(m_folder);
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        m_problem = QStringLiteral("The folder %1 cannot be made: %2.").arg(m_folder, systemError(errno));
        return false;
    }
    struct stat st {};
    if (::lstat(folder.constData(), &st) != 0) {
        m_problem = QStringLiteral("The folder %1 cannot be read: %2.").arg(m_folder, systemError(errno));
        return false;
    }
    if (S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) != 0)
        ::chmod(folder.constData(), 0700);
    else if (!isPrivateFolder(st)) {
        m_problem = QStringLiteral("%1 is not a folder of this user's own.").arg(m_folder);
        return false;
    }
    return true;
}

SingleInstance::Outcome SingleInstance::tryAcquire()
{
    if (m_fd >= 0)
        return Outcome::Acquired;
    if (!makePrivateFolder())
        return Outcome::Unavailable;
    const QString lockPath = m_folder + QLatin1Char('/') + kLockName;
    const QByteArray path = QFile::encodeName(lockPath);
    // Whatever stands in the lock's place and is held by no live copy is
    // cleared away: a live copy only ever holds a plain file of this user's.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                m_fd = fd;
                return Outcome::Acquired;
            }
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return Outcome::Running;
            m_problem = QStringLiteral("The lock file %1 cannot be locked: %2.").arg(lockPath, systemError(error));
            return Outcome::Unavailable;
        }
        const int error = errno;
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            m_problem = QStringLiteral("The lock file %1 cannot be made: %2.").arg(lockPath, systemError(error));
            return Outcome::Unavailable;
        }
        if (S_ISDIR(st.st_mode)) {
            if (::rmdir(path.constData()) != 0) {
                m_problem = QStringLiteral("A folder stands where the lock file %1 belongs.").arg(lockPath);
                return Outcome::Unavailable;
            }
        } else if (S_ISREG(st.st_mode) && st.st_uid == ::getuid()) {
            ::chmod(path.constData(), 0600); // made unreadable; no live copy minds
        } else {
            ::unlink(path.constData()); // another user's file or a link
        }
    }
    m_problem = QStringLiteral("The lock file %1 cannot be opened.").arg(lockPath);
    return Outcome::Unavailable;
}

void SingleInstance::listen(std::function<void()> onRaise)
{
    const QString socketPath = m_folder + QLatin1Char('/') + kSocketName;
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
    socket.connectToServer(m_folder + QLatin1Char('/') + kSocketName);
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
