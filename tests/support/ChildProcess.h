#pragma once
// A program run by a test as a separate process, with pipes to its standard
// input and output.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace cs6::test {

class ChildProcess {
public:
    // Starts program with args; null when it cannot be started.
    static std::unique_ptr<ChildProcess> Start(const std::string& program, const std::vector<std::string>& args);

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes text to its standard input.
    bool Write(const std::string& text);
    // Closes its standard input (end of input).
    void CloseInput();
    // The next line of its output, or nothing when none came in time.
    bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
    // Sends a signal; Wait then collects the exit status.
    void Signal(int signal);
    // The exit code, or -1 when it did not end in time (it is then killed).
    int Wait(std::chrono::milliseconds timeout);

    ChildProcess(pid_t pid, int input, int output) : pid_(pid), input_(input), output_(output) {}

private:
    pid_t pid_;
    int input_;
    int output_;
    std::string buffered_;
};

} // namespace cs6::test
