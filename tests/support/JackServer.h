#pragma once
// A JACK server of a test's own: jackd with the dummy driver under a server
// name no other test uses, started and stopped by the test. Clients of this
// process find it through JACK_DEFAULT_SERVER, which Start sets.

#include <memory>
#include <string>

#include "tests/support/ChildProcess.h"

namespace cs6::test {

class JackServer {
public:
    // Starts jackd and waits until a client can connect. Null, with the reason
    // in whyNot, when jackd is missing or does not come up.
    static std::unique_ptr<JackServer> Start(const std::string& name, std::string* whyNot);

    // Starts a server under the first free name of a small fixed set.
    // libjack keeps a table of 8 server names in shared memory and frees the
    // entry of a killed server only when a server of the same name starts
    // again, so names made afresh for every test would fill it up. When no
    // name starts and no jackd runs at all, the stale table is removed first.
    static std::unique_ptr<JackServer> StartAny(std::string* whyNot);

    ~JackServer();

    // Ends the server at once, as a crash would (SIGKILL).
    void Kill();
    // Ends it in order (SIGTERM) and waits.
    void Stop();

    const std::string& Name() const { return name_; }

private:
    std::string name_;
    std::unique_ptr<ChildProcess> jackd_;
};

} // namespace cs6::test
