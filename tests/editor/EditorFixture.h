#pragma once
// The editor's dialogs against the emulated instrument in process, over the
// real transport. Pacing is off; the editor's own waits are real.

#include <QCoreApplication>
#include <QTest>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "framework/UserMessage.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/EmulatedPeer.h"
#include "synth/NameTables.h"
#include "synth/SynthDevice.h"

namespace cs6::test {

using Bytes = std::vector<std::uint8_t>;

class EditorFixture {
public:
    explicit EditorFixture(bool choosePorts = true)
        : instrument(std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests()))
    {
        previousBoxes_ = SetMessageBoxHandler([this](std::string_view text) { boxes.emplace_back(text); });
        MidiSystemConfig config;
        config.useAlsa = false;
        config.useJack = false;
        config.inProcessPeers.emplace_back(sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument));
        midiSystem = std::make_unique<MidiSystem>(std::move(config));
        inputPorts.clear();
        outputPorts.clear();
        EnumerateMidiPorts();
        midiSettings = {};
        if (choosePorts) {
            midiSettings.inputEnabled = 1;
            midiSettings.outputEnabled = 1;
            midiSettings.inputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
            midiSettings.outputPortGuid = midiSettings.inputPortGuid;
        }
        OpenMidiConnection();
        InitNameTables();
        device.SetOutput(&output);
        device.SetReplySource(&replies);
    }

    ~EditorFixture()
    {
        CloseMidiConnection();
        midiSystem.reset();
        inputPorts.clear();
        outputPorts.clear();
        SetMessageBoxHandler(std::move(previousBoxes_));
    }

    EditorFixture(const EditorFixture&) = delete;
    EditorFixture& operator=(const EditorFixture&) = delete;

    // Everything the instrument received since the last call.
    std::vector<sim::LoggedMessage> TakeReceived()
    {
        auto all = instrument->ReceivedMessages();
        std::vector<sim::LoggedMessage> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return fresh;
    }

    std::vector<Bytes> TakeReceivedBytes()
    {
        std::vector<Bytes> bytes;
        for (auto& message : TakeReceived())
            bytes.push_back(message.bytes);
        return bytes;
    }

    std::shared_ptr<sim::EmulatedInstrument> instrument;
    ConnectionOutput output;
    CollectorReplySource replies;
    SynthDevice device;
    std::vector<std::string> boxes;

private:
    MessageBoxHandler previousBoxes_;
    std::size_t seen_ = 0;
};

// Waits, handling events, until condition holds or timeout passes.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

} // namespace cs6::test
