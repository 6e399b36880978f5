#include "tests/support/JackServer.h"

#include <jack/jack.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace cs6::test {

namespace {

constexpr int kServerNames = 4;

bool AnyJackdRunning()
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        if (comm >> name && (name == "jackd" || name == "jackdmp"))
            return true;
    }
    return false;
}

// libjack's shared table of servers and their segments, left by servers
// that were killed. Only removed while no server runs.
void RemoveStaleJackState()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("jack", 0) == 0)
            std::filesystem::remove(entry.path(), error);
    }
}

// True when a client can connect to the server named by JACK_DEFAULT_SERVER.
bool JackServerAnswers()
{
    jack_client_t* probe = jack_client_open("cs6probe", JackNoStartServer, nullptr);
    return probe && (jack_client_close(probe), true);
}

} // namespace

std::unique_ptr<JackServer> JackServer::StartAny(std::string* whyNot)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (int i = 0; i < kServerNames; ++i)
            if (auto server = Start("cs6test-" + std::to_string(i), whyNot))
                return server;
        if (attempt > 0 || AnyJackdRunning())
            break;
        RemoveStaleJackState();
    }
    return nullptr;
}

std::unique_ptr<JackServer> JackServer::Start(const std::string& name, std::string* whyNot)
{
    const auto fail = [whyNot](std::string why) {
        *whyNot = std::move(why);
        return nullptr;
    };
    const char* jackd = "/usr/bin/jackd";
    if (!std::filesystem::exists(jackd))
        return fail("jackd is not installed");
    ::setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    if (JackServerAnswers())
        return fail("a server named " + name + " runs already");

    // Synchronous mode runs the clients of a cycle strictly in graph order;
    // without it libjack let a reader see a writer's half-filled MIDI buffer
    // when ThreadSanitizer slowed the process cycle down.
    // A short period keeps MIDI latency low: 256 frames at 48 kHz, 5.3 ms.
    // Sanitizer runs slow the process cycle down and may set a longer one.
    const char* period = std::getenv("CS6_TEST_JACK_PERIOD");
    auto server = std::make_unique<JackServer>();
    server->name_ = name;
    server->jackd_ = ChildProcess::Start(
        jackd, {"--no-realtime", "--sync", "-d", "dummy", "-r", "48000", "-p", period ? period : "256"}, false);
    if (!server->jackd_)
        return fail("jackd could not be started");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        if (server->jackd_->Wait(std::chrono::milliseconds(50)) >= 0)
            return fail("jackd exited at once");
        // A server of the same name started by someone else at the same
        // moment answers too; ours then gives up at once.
        if (JackServerAnswers())
            return server->jackd_->Wait(std::chrono::milliseconds(100)) >= 0
                       ? fail("a server named " + name + " started elsewhere at the same time")
                       : std::move(server);
    }
    return fail("jackd did not answer within 15 s");
}

JackServer::~JackServer() { Stop(); }

void JackServer::Kill()
{
    jackd_->Signal(SIGKILL);
    (void)jackd_->Wait(std::chrono::seconds(10));
}

void JackServer::Stop()
{
    if (!jackd_) // it never started
        return;
    jackd_->Signal(SIGTERM);
    if (jackd_->Wait(std::chrono::seconds(10)) < 0)
        Kill();
}

} // namespace cs6::test
