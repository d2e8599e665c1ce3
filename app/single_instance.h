#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One running copy per user, whatever the environment says. The lock is a
// kernel lock on a file in the user's own runtime folder, so it goes with the
// process that holds it: a lock left by a crashed or killed copy never blocks
// a start. Beside it, the running copy listens on a local socket, and a
// second start asks it through that socket to bring its window forward.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Acquired,   // this process now holds the lock
        Running,    // a live copy holds it
        Unavailable // no lock can be taken here; problem() says why
    };

    explicit SingleInstance(const QString &folder = defaultFolder());
    ~SingleInstance() override;

    Outcome tryAcquire();
    QString problem() const { return m_problem; }

    // The holder of the lock: raiseRequested whenever a second start asks.
    void listen();
    // A second start: asks the running copy to come forward; false when it
    // could not be reached.
    bool askRunningCopyToRaise() const;

    // Brings the application's shown windows to the front, the modal one on top.
    static void raiseWindows();

    // The user's own folder for the lock: on Linux /run/user/UID when the
    // system made one for the user, else a private folder in /tmp named after
    // the user id; on Windows one in the user's local application data.
    static QString defaultFolder();

Q_SIGNALS:
    void raiseRequested();

private:
    struct Lock; // the platform's own lock
    bool makePrivateFolder();
    QString socketAddress() const;

    QString m_folder;
    QString m_problem;
    std::unique_ptr<Lock> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
