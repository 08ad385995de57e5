#pragma once

// File permissions mean nothing to root, and the tests run as root in CI.
// Two ways to test what the program does with files the user may not write:
//
// - A test that begins with PELLION_RUN_AS_UNPRIVILEGED_USER(): run by root,
//   it runs this very test again in a child process as the user "nobody",
//   reports how that went and returns; run by any other user, the test goes on
//   in place. Where no unprivileged user exists the test is skipped, saying
//   why. The child starts afresh (fork, drop the privileges, exec this program
//   with a filter naming the test), so fixtures set themselves up as that user.
// - runUnprivileged(part): only a part of a test runs as that user, in a
//   forked child, and hands back text, which is how its findings cross from
//   the child.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pellion::testing {

inline constexpr const char* unprivilegedUser = "nobody";

enum class UnprivilegedRun {
    Here,      // not root: the test goes on
    Elsewhere, // ran in a child process as an unprivileged user
    NoUser,    // root, and no unprivileged user to run as
};

inline UnprivilegedRun unprivilegedRun() {
    if (::geteuid() != 0)
        return UnprivilegedRun::Here;
    const passwd* user = ::getpwnam(unprivilegedUser);
    if (!user || user->pw_uid == 0)
        return UnprivilegedRun::NoUser;
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;

    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::string self = "/proc/self/exe";
    std::vector<char*> arguments{self.data(), filter.data(), nullptr};
    // Opened while still root: the program's own folder may be closed to
    // other users.
    const int program = ::open(self.c_str(), O_RDONLY | O_CLOEXEC);

    const pid_t child = ::fork();
    if (child == 0) {
        // Only plain system calls between fork and exec.
        if (program < 0 || ::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
            ::setresuid(uid, uid, uid) != 0 || ::chdir("/") != 0)
            ::_exit(126);
        ::fexecve(program, arguments.data(), environ);
        ::_exit(127);
    }
    if (program >= 0)
        ::close(program);
    EXPECT_GT(child, 0) << "cannot start the unprivileged run";
    if (child > 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        const bool passed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        EXPECT_TRUE(passed) << "the test failed when run as user " << uid
                            << " (its output is above; wait status " << status << ")";
    }
    return UnprivilegedRun::Elsewhere;
}

// Nothing when the part could not be run (the failure has been reported).
inline std::optional<std::string> runUnprivileged(const std::function<std::string()>& part) {
    if (::geteuid() != 0)
        return part();
    const passwd* user = ::getpwnam(unprivilegedUser);
    if (!user) {
        ADD_FAILURE() << "no user \"" << unprivilegedUser << "\" to drop root's privileges to";
        return std::nullopt;
    }
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    int channel[2];
    if (::pipe(channel) != 0) {
        ADD_FAILURE() << "no pipe";
        return std::nullopt;
    }
    std::fflush(nullptr); // nothing buffered is written twice
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
            ::setresuid(uid, uid, uid) != 0)
            ::_exit(3);
        const std::string answer = part();
        for (std::size_t done = 0; done < answer.size();) {
            const ssize_t written = ::write(channel[1], answer.data() + done, answer.size() - done);
            if (written <= 0)
                ::_exit(4);
            done += std::size_t(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, std::size_t(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ADD_FAILURE() << "the part run as \"" << unprivilegedUser << "\" failed (status " << status
                      << ")";
        return std::nullopt;
    }
    return answer;
}

} // namespace pellion::testing

#define PELLION_RUN_AS_UNPRIVILEGED_USER()                                                         \
    switch (::pellion::testing::unprivilegedRun()) {                                               \
    case ::pellion::testing::UnprivilegedRun::Here:                                                \
        break;                                                                                     \
    case ::pellion::testing::UnprivilegedRun::Elsewhere:                                           \
        return;                                                                                    \
    case ::pellion::testing::UnprivilegedRun::NoUser:                                              \
        GTEST_SKIP() << "file permissions cannot be tested: running as root and there is no "      \
                        "unprivileged user (nobody) to run as";                                    \
    }
