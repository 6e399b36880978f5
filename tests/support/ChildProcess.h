#pragma once
// A program run by a test as a separate process, its output read through a
// pipe (or dropped), its input open; killed, if it still runs, when this
// goes. Not QProcess: once it has started a child, ThreadSanitizer no longer
// sees this process's mutexes and reports races between accesses one mutex
// guards.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace cs6::test {

class ChildProcess {
public:
    // Starts program with args; null when it cannot be started. A program
    // that cannot be run ends at once with exit code 127.
    static std::unique_ptr<ChildProcess> Start(const std::string& program, const std::vector<std::string>& args,
                                               bool readOutput = true);
    ~ChildProcess();

    // The next line of its output, or false when none came in time.
    bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
    // Sends a signal; Wait then collects the exit status.
    void Signal(int signal);
    // The exit code (128 + the signal that ended it), or -1 when it did not
    // end in time.
    int Wait(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = 0; // 0 once it has been waited for
    int status_ = 0;
    int output_ = -1;
    int input_ = -1; // its standard input, never written
    std::string buffered_;
};

} // namespace cs6::test
