#pragma once
// A JACK server of a test's own: jackd with the dummy driver under a server
// name no other test uses, started and stopped by the test. Clients of this
// process find it through JACK_DEFAULT_SERVER, which Start sets.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>

namespace cs6::test {

class JackServer {
public:
    // Starts jackd and waits until a client can connect. Null, with the reason
    // in whyNot, when jackd is missing or does not come up.
    static std::unique_ptr<JackServer> Start(const std::string& name, std::string* whyNot);

    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    // Ends the server at once, as a crash would (SIGKILL).
    void Kill();
    // Ends it in order (SIGTERM) and waits.
    void Stop();

    const std::string& Name() const { return name_; }

    JackServer(std::string name, pid_t pid) : name_(std::move(name)), pid_(pid) {}

private:
    std::string name_;
    pid_t pid_;
};

// A name unique to this process and purpose.
std::string UniqueServerName(const std::string& purpose);

// True when a client can connect to the server named by JACK_DEFAULT_SERVER.
bool JackServerAnswers();

} // namespace cs6::test
