#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QTimer;

// One running copy per people store. The lock is a kernel lock on a file
// beside the store, in the user's own settings folder: another user cannot
// put anything in its way, it stays where it is while a copy runs, and a lock
// left by a crashed or killed copy never blocks a start. The running copy
// also listens on a local socket in the user's private runtime folder, when
// there is one, and names it in the lock file; a second start asks it there
// to bring its window forward.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Acquired,   // this process now holds the lock
        Running,    // a live copy holds it
        Unavailable // no lock can be taken here; problem() says why
    };

    // The lock in lockFolder, the raise socket in runtimeFolder (none when
    // empty: a start is still refused, only the raise is lost).
    explicit SingleInstance(const QString &lockFolder = defaultFolder(), const QString &runtimeFolder = defaultRuntimeFolder());
    ~SingleInstance() override;

    Outcome tryAcquire();
    QString problem() const { return m_problem; }

    // The holder of the lock: raiseRequested whenever a second start asks.
    // The socket is made again should it go.
    void listen();
    // A second start: asks the running copy to come forward; false when it
    // could not be reached.
    bool askRunningCopyToRaise() const;

    // Brings the application's shown windows to the front, the modal one on top.
    static void raiseWindows();

    // The settings folder, where the people store is kept.
    static QString defaultFolder();
    // The user's private runtime folder; empty where there is none.
    static QString defaultRuntimeFolder();

Q_SIGNALS:
    void raiseRequested();

private:
    struct Lock; // the platform's own lock
    // Where this copy listens for a raise; empty for nowhere.
    QString listenAddress() const;
    // Tells later starts where this copy listens.
    void publishAddress(const QString &address);
    // Where the copy holding the lock listens, as it said; empty if unknown.
    QString raiseAddress() const;
    // True when the socket this copy listens on has been taken away.
    bool addressGone() const;
    void startServer();
    void keepServing();

    QString m_folder;
    QString m_runtimeFolder;
    QString m_problem;
    std::unique_ptr<Lock> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QTimer *m_watch = nullptr;
};
