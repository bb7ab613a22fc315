#pragma once
// A program run as a child process whose standard error the test watches, so that it can be
// killed at a chosen moment of its work.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace killtest {

class ChildProcess {
  public:
    // Starts `argv[0]` with the arguments and this process's environment plus `extraEnv`
    // ("NAME=value"); standard output and standard error go to pipes of their own.
    explicit ChildProcess(const std::vector<std::string>& argv,
                          const std::vector<std::string>& extraEnv = {});
    ~ChildProcess();  // kills and reaps a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads standard error until `text` appears (true) or the child closes it (false).
    bool WaitForText(const std::string& text,
                     std::chrono::milliseconds timeout = std::chrono::minutes(5));
    void Kill();  // SIGKILL, then reaps it
    // Waits for the end; the exit status, or -signal when a signal ended it.
    int Wait();

    const std::string& Err() const { return err_; }
    const std::string& Out() const { return out_; }

  private:
    void Drain(bool block);

    pid_t pid_ = -1;
    int errFd_ = -1;
    int outFd_ = -1;
    std::string err_;
    std::string out_;
    int status_ = 0;
};

}  // namespace killtest
