#pragma once

// Runs part of a test as a user whom file permissions bind. Root writes
// everywhere, so as root the part runs in a forked child that has become the
// user "nobody"; as any other user it runs in-process. The part hands back
// text, which is how its findings cross from the child.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pellion::testing {

inline constexpr const char* unprivilegedUser = "nobody";

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
