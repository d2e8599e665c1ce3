#include "app/platform_files.h"
#include "app/single_instance.h"
#include "entry/people_store.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t kNobody = 65534;
using Outcome = SingleInstance::Outcome;

// What stands in the lock folder before a start, and what the start must
// come to.
struct Case {
    const char *name;
    const char *before;
    Outcome expected;
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.before; }

std::string FolderFor(const std::string &base) { return base + "/lock"; }
std::string LockIn(const std::string &folder) { return folder + "/vadiveziduzor.lock"; }

// Prepares the folder as the case says; returns the pid of a live holder,
// if any.
pid_t Prepare(const std::string &before, const std::string &folder, uid_t user)
{
    const std::string lock = LockIn(folder);
    ::mkdir(folder.c_str(), 0700);
    if (::chown(folder.c_str(), user, user) != 0)
        return -1;
    if (before == "folder at the lock") {
        ::mkdir(lock.c_str(), 0700);
    } else if (before == "dead copy's lock, unreadable" || before == "dead copy's lock") {
        ::close(::open(lock.c_str(), O_CREAT | O_WRONLY, 0600));
        if (::chown(lock.c_str(), user, user) != 0)
            return -1;
        if (before == "dead copy's lock, unreadable")
            ::chmod(lock.c_str(), 0);
    } else if (before == "another user's stale lock") {
        ::close(::open(lock.c_str(), O_CREAT | O_WRONLY, 0600));
        if (::chown(lock.c_str(), user == 0 ? kNobody : 0, 0) != 0)
            return -1;
    } else if (before == "link at the lock") {
        if (::symlink("/nonexistent/elsewhere", lock.c_str()) != 0)
            return -1;
    } else if (before == "folder of another user") {
        if (::chown(folder.c_str(), user == 0 ? kNobody : 0, 0) != 0)
            return -1;
    } else if (before == "link to a folder of the user's own" || before == "link to another user's folder") {
        const std::string real = folder + ".real";
        std::filesystem::rename(folder, real);
        if (before == "link to another user's folder" && ::chown(real.c_str(), user == 0 ? kNobody : 0, 0) != 0)
            return -1;
        if (::symlink(real.c_str(), folder.c_str()) != 0)
            return -1;
    } else if (before == "live copy" || before == "live copy, lock made unreadable") {
        int ready[2];
        if (::pipe(ready) != 0)
            return -1;
        const pid_t holder = ::fork();
        if (holder == 0) {
            if (::setgid(user) != 0 || ::setuid(user) != 0)
                ::_exit(3);
            SingleInstance instance{QString::fromStdString(folder)};
            const char ok = instance.tryAcquire() == Outcome::Acquired ? 'y' : 'n';
            (void)!::write(ready[1], &ok, 1);
            ::pause();
            ::_exit(0);
        }
        char ok = 'n';
        (void)!::read(ready[0], &ok, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        if (before == "live copy, lock made unreadable")
            ::chmod(lock.c_str(), 0);
        return ok == 'y' ? holder : -1;
    }
    return 0;
}

class LockStates : public testing::TestWithParam<Case> {};

TEST_P(LockStates, OnlyALiveCopyBlocksAStart)
{
    const Case &c = GetParam();
    // Root passes every permission check, so the start runs as another user.
    const uid_t user = ::geteuid() == 0 ? kNobody : ::geteuid();
    if (::geteuid() != 0 && (std::string(c.before).find("another user") != std::string::npos))
        GTEST_SKIP() << "needs root to make another user's files";
    char base[] = "/tmp/single_instance_lock_test.XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    ::chmod(base, 0755);
    const std::string folder = FolderFor(base);
    const pid_t holder = Prepare(c.before, folder, user);
    ASSERT_GE(holder, 0) << "could not prepare " << c.before;

    const pid_t start = ::fork();
    if (start == 0) {
        if (::setgid(user) != 0 || ::setuid(user) != 0)
            ::_exit(9);
        SingleInstance instance{QString::fromStdString(folder)};
        const Outcome outcome = instance.tryAcquire();
        ::_exit(outcome == Outcome::Unavailable && instance.problem().isEmpty() ? 8 : static_cast<int>(outcome));
    }
    int status = 0;
    ::waitpid(start, &status, 0);
    if (holder > 0) {
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
    }
    std::filesystem::remove_all(base);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(c.expected)) << c.before;
}

INSTANTIATE_TEST_SUITE_P(
    Start, LockStates,
    testing::Values(Case{"Nothing", "nothing", Outcome::Acquired}, Case{"DeadCopy", "dead copy's lock", Outcome::Acquired},
                    Case{"FolderAtTheLock", "folder at the lock", Outcome::Acquired},
                    Case{"UnreadableDeadLock", "dead copy's lock, unreadable", Outcome::Acquired},
                    Case{"OtherUsersStaleLock", "another user's stale lock", Outcome::Acquired},
                    Case{"LinkAtTheLock", "link at the lock", Outcome::Acquired},
                    Case{"LiveCopy", "live copy", Outcome::Running},
                    Case{"LiveCopyUnreadableLock", "live copy, lock made unreadable", Outcome::Running},
                    Case{"OtherUsersFolder", "folder of another user", Outcome::Unavailable},
                    Case{"LinkToOwnFolder", "link to a folder of the user's own", Outcome::Acquired},
                    Case{"LinkToOtherUsersFolder", "link to another user's folder", Outcome::Unavailable}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SingleInstance, CopiesOfOneStoreShareOneLockWhateverElseTheEnvironmentSays)
{
    ::setenv("XDG_CONFIG_HOME", "/tmp/settings-of-a-test", 1);
    const QString folder = SingleInstance::defaultFolder();
    EXPECT_EQ(folder, QStringLiteral("/tmp/settings-of-a-test/zuvazize"));
    EXPECT_TRUE(PeopleStore().fileName().startsWith(folder + QLatin1Char('/')));
    ::setenv("XDG_RUNTIME_DIR", "/tmp/elsewhere", 1);
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(SingleInstance::defaultFolder(), folder);
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("XDG_CONFIG_HOME");
}

// The runtime folder is taken only when nobody else may put a socket there.
TEST(SingleInstance, RuntimeFolderOnlyWhenPrivate)
{
    char base[] = "/tmp/single_instance_runtime.XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const std::string own = std::string(base) + "/own";
    ::mkdir(own.c_str(), 0700);
    const std::string open = std::string(base) + "/open";
    ::mkdir(open.c_str(), 0700);
    ::chmod(open.c_str(), 0777);
    const std::string link = std::string(base) + "/link";
    ASSERT_EQ(::symlink(own.c_str(), link.c_str()), 0);
    const std::string other = std::string(base) + "/other";
    ::mkdir(other.c_str(), 0700);
    const bool root = ::geteuid() == 0 && ::chown(other.c_str(), kNobody, kNobody) == 0;
    for (const std::string &candidate : {own, open, link, other, std::string("relative/folder")}) {
        if (candidate == other && !root)
            continue;
        ::setenv("XDG_RUNTIME_DIR", candidate.c_str(), 1);
        EXPECT_EQ(RuntimeFolder() == QString::fromStdString(candidate), candidate == own) << candidate;
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(base);
}

// A holder in a child process: it takes the lock, listens in the runtime
// folder (none when empty), says "y" on the pipe and ends with 0 once asked
// to raise, or 3 after twenty seconds. It may have at most maxFiles files
// open, when given.
pid_t StartHolder(const std::string &folder, const std::string &runtime, rlim_t maxFiles = 0)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t holder = ::fork();
    if (holder == 0) {
        if (maxFiles > 0) {
            const rlimit files{maxFiles, maxFiles};
            ::setrlimit(RLIMIT_NOFILE, &files);
        }
        int argc = 1;
        char name[] = "holder";
        char *argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        SingleInstance instance{QString::fromStdString(folder), QString::fromStdString(runtime)};
        const char ok = instance.tryAcquire() == Outcome::Acquired ? 'y' : 'n';
        instance.listen();
        QObject::connect(&instance, &SingleInstance::raiseRequested, &app, [] { QCoreApplication::exit(0); });
        QTimer::singleShot(20000, &app, [] { QCoreApplication::exit(3); });
        (void)!::write(ready[1], &ok, 1);
        ::_exit(app.exec());
    }
    char ok = 'n';
    (void)!::read(ready[0], &ok, 1);
    ::close(ready[0]);
    ::close(ready[1]);
    return ok == 'y' ? holder : -1;
}

int ExitOf(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

TEST(SingleInstance, RuntimeFolderThatAppearsLaterMovesNoLock)
{
    char base[] = "/tmp/single_instance_appears.XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const std::string folder = FolderFor(base);
    const pid_t holder = StartHolder(folder, "");
    ASSERT_GT(holder, 0);
    const std::string runtime = std::string(base) + "/run";
    ::mkdir(runtime.c_str(), 0700);
    SingleInstance second{QString::fromStdString(folder), QString::fromStdString(runtime)};
    EXPECT_EQ(second.tryAcquire(), Outcome::Running);
    ::kill(holder, SIGKILL);
    ExitOf(holder);
    std::filesystem::remove_all(base);
}

TEST(SingleInstance, RaiseSurvivesAFloodOfConnections)
{
    char base[] = "/tmp/single_instance_flood.XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const std::string folder = FolderFor(base);
    const std::string runtime = std::string(base) + "/run";
    ::mkdir(runtime.c_str(), 0700);
    const pid_t holder = StartHolder(folder, runtime, 256);
    ASSERT_GT(holder, 0);

    rlimit files {};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 4096);
    ::setrlimit(RLIMIT_NOFILE, &files);
    const std::optional<QByteArray> lock = ReadOwnSmallFile(QString::fromStdString(LockIn(folder)), 4096);
    ASSERT_TRUE(lock.has_value());
    const std::string socketPath = lock->trimmed().toStdString();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    // 1,500 connections held open, far more than the holder may have files.
    std::vector<int> flood;
    for (int tries = 0; flood.size() < 1500 && tries < 20000; ++tries) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (fd < 0)
            break;
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
            flood.push_back(fd);
        } else {
            ::close(fd);
            ::usleep(500); // the backlog is full until the holder takes some
        }
    }
    ::sleep(1);
    for (int fd : flood)
        ::close(fd);

    // The holder still hears a raise, at once or once it made its socket again.
    SingleInstance second{QString::fromStdString(folder), QString::fromStdString(runtime)};
    EXPECT_EQ(second.tryAcquire(), Outcome::Running);
    bool asked = false;
    for (int attempt = 0; attempt < 50 && !asked; ++attempt) {
        asked = second.askRunningCopyToRaise();
        if (!asked)
            ::usleep(200000);
    }
    EXPECT_TRUE(asked);
    EXPECT_EQ(ExitOf(holder), 0);
    std::filesystem::remove_all(base);
}

} // namespace
