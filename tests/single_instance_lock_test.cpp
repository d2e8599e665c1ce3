#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
std::string LockIn(const std::string &folder) { return folder + "/ru-zuva-zize-vadiveziduzor.lock"; }

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
                    Case{"OtherUsersFolder", "folder of another user", Outcome::Unavailable}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SingleInstance, OneFolderPerUserWhateverTheEnvironment)
{
    const QString plain = SingleInstance::defaultFolder();
    EXPECT_TRUE(plain.endsWith(QString::number(::getuid()))) << plain.toStdString();
    ::setenv("XDG_RUNTIME_DIR", "/tmp/elsewhere", 1);
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(SingleInstance::defaultFolder(), plain);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::defaultFolder(), plain);
}

} // namespace
