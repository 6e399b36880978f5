#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

namespace cs6::test {

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                                                  bool readOutput)
{
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int output[2] = {-1, -1}, input[2] = {-1, -1};
    if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(input, O_CLOEXEC) != 0) {
        for (const int fd : {output[0], output[1], input[0], input[1]})
            ::close(fd); // -1 for a pipe not made: nothing to close
        return nullptr;
    }
    auto child = std::make_unique<ChildProcess>();
    child->pid_ = ::fork();
    if (child->pid_ == 0) { // only calls that are safe between fork and exec
        const int out = readOutput ? output[1] : ::open("/dev/null", O_WRONLY);
        ::dup2(input[0], STDIN_FILENO); // open while this lives: cs6sim ends at the end of its input
        ::dup2(out, STDOUT_FILENO);
        if (!readOutput)
            ::dup2(out, STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    ::close(input[0]);
    child->output_ = output[0];
    child->input_ = input[1];
    return child->pid_ > 0 ? std::move(child) : nullptr;
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::close(output_);
    ::close(input_);
}

bool ChildProcess::ReadLine(std::string& line, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::size_t end = 0;
    while ((end = buffered_.find('\n')) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd{output_, POLLIN, 0};
        char chunk[512];
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            return false;
        const ssize_t n = ::read(output_, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
    line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    return true;
}

void ChildProcess::Signal(int signal)
{
    if (pid_ > 0)
        ::kill(pid_, signal);
}

int ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0 && ::waitpid(pid_, &status_, WNOHANG) != pid_) {
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = 0;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

} // namespace cs6::test
