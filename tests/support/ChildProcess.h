#pragma once
// A program run by a test as a separate process, its standard output read
// through a pipe; killed, if it still runs, when this goes.

#include <QProcess>

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

    // The next line of its output, or false when none came in time.
    bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
    // Sends a signal; Wait then collects the exit status.
    void Signal(int signal);
    // The exit code (128 + the signal that ended it), or -1 when it did not
    // end in time.
    int Wait(std::chrono::milliseconds timeout);

private:
    QProcess process_;
};

} // namespace cs6::test
