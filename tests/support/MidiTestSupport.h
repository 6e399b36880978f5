#pragma once
// What the MIDI and end-to-end tests share: the message boxes shown, an
// offscreen QApplication, a port's input, a JACK server of the test's own and
// cs6sim (CS6SIM_PATH) running on it.
#include <QApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "framework/UserMessage.h"
#include "midi/MidiDriver.h"
#include "midi/ReadEvent.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"

// In a test's body: a JACK server of the test's own as `server`, or the test
// skipped, saying why, where none can start.
#define CS6_JACK_SERVER_OR_SKIP()                                                                                      \
    std::string whyNot;                                                                                                \
    auto server = ::cs6::test::JackServer::StartAny(&whyNot);                                                          \
    if (!server)                                                                                                       \
    GTEST_SKIP() << "JACK server could not start here: " << whyNot

namespace cs6::test {

// The message boxes shown while it lives, by their text. GUI thread only.
struct Boxes : std::vector<std::string> {
    Boxes() : previous(SetMessageBoxHandler([this](std::string_view text) { emplace_back(text); })) {}
    ~Boxes() { SetMessageBoxHandler(std::move(previous)); }
    MessageBoxHandler previous;
};

// A QApplication on the offscreen platform while it lives.
struct OffscreenApp {
    int argc = (qputenv("QT_QPA_PLATFORM", "offscreen"), 1);
    char name[6] = "tests";
    char* argv[2] = {name, nullptr};
    QApplication application{argc, argv};
};

// What a port received, once count messages came or 5 s passed.
inline std::vector<std::vector<std::uint8_t>> Received(DriverPort& port, std::size_t count)
{
    std::vector<TimedEvent> events;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (events.size() < count && port.ReadNotification()->WaitUntil(deadline))
        (void)port.Read(events);
    std::vector<std::vector<std::uint8_t>> messages;
    for (auto& event : events)
        messages.push_back(std::move(event.bytes));
    return messages;
}

// cs6sim started with args, once it says it is ready; null if it does not.
inline std::unique_ptr<ChildProcess> StartSim(const std::vector<std::string>& args)
{
    auto sim = ChildProcess::Start(CS6SIM_PATH, args);
    std::string ready;
    return sim && sim->ReadLine(ready, std::chrono::seconds(10)) ? std::move(sim) : nullptr;
}

} // namespace cs6::test
