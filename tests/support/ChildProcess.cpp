#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>

#include <csignal>

namespace cs6::test {

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program, const std::vector<std::string>& args)
{
    auto child = std::make_unique<ChildProcess>();
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    child->process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->process_.start(QString::fromStdString(program), arguments);
    return child->process_.waitForStarted() ? std::move(child) : nullptr;
}

ChildProcess::~ChildProcess()
{
    process_.kill();
    process_.waitForFinished();
}

bool ChildProcess::ReadLine(std::string& line, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (!process_.canReadLine())
        if (deadline.hasExpired() || !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    line = process_.readLine().chopped(1).toStdString();
    return true;
}

void ChildProcess::Signal(int signal)
{
    if (process_.state() != QProcess::NotRunning) // else there is no process id
        ::kill(static_cast<pid_t>(process_.processId()), signal);
}

int ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(static_cast<int>(timeout.count())))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : 128 + process_.exitCode();
}

} // namespace cs6::test
