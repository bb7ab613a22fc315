#include "kill_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace killtest {

namespace {

void ReadAvailable(int& fd, std::string& into) {
    if (fd < 0) return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0) {  // the child closed it
            close(fd);
            fd = -1;
        }
        return;  // EAGAIN or closed
    }
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extraEnv) {
    int errPipe[2];
    int outPipe[2];
    if (pipe(errPipe) != 0 || pipe(outPipe) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The extra entries come first, so they win over the same names inherited.
    std::vector<char*> env;
    for (const std::string& e : extraEnv) env.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
    env.push_back(nullptr);
    const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(errPipe[1]);
    close(outPipe[1]);
    errFd_ = errPipe[0];
    outFd_ = outPipe[0];
    fcntl(errFd_, F_SETFL, O_NONBLOCK);
    fcntl(outFd_, F_SETFL, O_NONBLOCK);
    if (rc != 0) {
        close(errFd_);
        close(outFd_);
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) Kill();
    if (errFd_ >= 0) close(errFd_);
    if (outFd_ >= 0) close(outFd_);
}

void ChildProcess::Drain(bool block) {
    pollfd fds[2] = {{errFd_, POLLIN, 0}, {outFd_, POLLIN, 0}};
    if (errFd_ < 0 && outFd_ < 0) return;
    poll(fds, 2, block ? 50 : 0);
    ReadAvailable(errFd_, err_);
    ReadAvailable(outFd_, out_);
}

bool ChildProcess::WaitForText(const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::size_t searched = 0;
    while (std::chrono::steady_clock::now() < end) {
        Drain(true);
        const std::size_t from = searched > text.size() ? searched - text.size() : 0;
        if (err_.find(text, from) != std::string::npos) return true;
        searched = err_.size();
        if (errFd_ < 0) return false;
    }
    return false;
}

void ChildProcess::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    Wait();
}

int ChildProcess::Wait() {
    if (pid_ > 0) {
        while (errFd_ >= 0 || outFd_ >= 0) {
            // A killed child closes its pipes; a running one is read while it works.
            Drain(true);
            int s = 0;
            if (waitpid(pid_, &s, WNOHANG) == pid_) {
                pid_ = -1;
                status_ = WIFEXITED(s) ? WEXITSTATUS(s) : -WTERMSIG(s);
                Drain(false);
                return status_;
            }
        }
        int s = 0;
        waitpid(pid_, &s, 0);
        pid_ = -1;
        status_ = WIFEXITED(s) ? WEXITSTATUS(s) : -WTERMSIG(s);
    }
    return status_;
}

}  // namespace killtest
