#include "EngineRun.h"

#include "platform/sys/Thread.h"

#include <cerrno>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::vector<std::string> RunAndPump(const std::vector<std::string>& Argv, int* ExitCode) {
    int fds[2];
    if (pipe(fds) != 0) return {"pipe failed"};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> args;
    for (const auto& a : Argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    if (rc == 0) {
        for (;;) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 5) > 0) {
                char buf[65536];
                const ssize_t n = read(fds[0], buf, sizeof buf);
                if (n <= 0) break;
                out.append(buf, static_cast<std::size_t>(n));
            }
            CheckSynchronize(0);
        }
    }
    close(fds[0]);
    int status = 0;
    if (rc == 0) waitpid(pid, &status, 0);
    if (ExitCode) *ExitCode = rc == 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
