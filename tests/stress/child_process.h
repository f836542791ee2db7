#pragma once

#include <csignal>
#include <cstdlib>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vestrak::testing {

// A program started with its standard output on a pipe that the test reads.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> arguments)
    {
        int ends[2] = { -1, -1 };
        if (pipe(ends) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, ends[0]);
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_Pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        m_Output = ends[0];
    }
    ~ChildProcess()
    {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
            wait();
        }
        if (m_Output >= 0) {
            close(m_Output);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] bool started() const { return m_Pid > 0; }

    // Everything the child wrote, once it has ended.
    std::string readToEnd()
    {
        std::string text;
        char buffer[4096];
        for (ssize_t count = 0; (count = read(m_Output, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<std::size_t>(count));
        }
        return text;
    }

    // The next line the child writes, without its line end, once it is written; what came before
    // the end when the child closes its output first.
    std::string readLine()
    {
        std::string line;
        char character = 0;
        while (read(m_Output, &character, 1) == 1 && character != '\n') {
            line += character;
        }
        return line;
    }

    void killNow() { kill(m_Pid, SIGKILL); }

    // The exit status (or -signal) once the child has ended.
    int wait()
    {
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

private:
    pid_t m_Pid = -1;
    int m_Output = -1;
};

} // namespace vestrak::testing
