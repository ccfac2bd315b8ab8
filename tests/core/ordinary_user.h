#pragma once
// Runs a check in a child process as an ordinary user: a folder without write permission
// keeps such a user out, but not root, as which the tests may run (root then becomes nobody).
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace testsupport {

inline constexpr uid_t NobodyId = 65534;

// True when check returned true in the child; its own messages go to stderr.
inline bool AsOrdinaryUser(const std::function<bool()>& check) {
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        if (::getuid() == 0 && (::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0)) ::_exit(3);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace testsupport
