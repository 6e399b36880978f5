#pragma once
// The editor's dialogs against the emulated instrument in process, over the
// real transport. Pacing is off; the editor's own waits are real.

#include <QCoreApplication>
#include <QTest>

#include <chrono>
#include <functional>
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

// An output port to the instrument that fails while the test says so.
struct FaultyOutput {
    static QUuid Guid() { return PortGuid("test", "faulty output"); }

    std::shared_ptr<InProcessPeer> peer;
    int clockFailures = 0; // the next sends find no clock (box "A") and go out all the same
    bool gone = false;     // every send fails as on a port that vanished (box "C")
};

class FaultyOutputDriver : public MidiDriver {
public:
    explicit FaultyOutputDriver(std::shared_ptr<FaultyOutput> output) : output_(std::move(output)) {}

    std::vector<DriverPortInfo> ListPorts() override
    {
        return {{FaultyOutput::Guid(), "faulty", "faulty output", PortDirection::Output}};
    }
    std::unique_ptr<DriverPort> Open(const QUuid& guid, PortDirection direction) override
    {
        if (guid != FaultyOutput::Guid() || direction != PortDirection::Output)
            return nullptr;
        return std::make_unique<Port>(output_);
    }

private:
    struct Port : DriverPort {
        explicit Port(std::shared_ptr<FaultyOutput> output) : output_(std::move(output)) {}
        bool Activate(bool) override { return true; }
        std::optional<ReferenceTime> LatencyClock() override
        {
            if (output_->clockFailures == 0)
                return ReferenceNow();
            --output_->clockFailures;
            return std::nullopt;
        }
        std::size_t MaxMessageBytes() const override { return 0x100000; }
        DriverSendResult Send(std::span<const std::uint8_t> message, ReferenceTime) override
        {
            if (output_->gone)
                return DriverSendResult::PortGone;
            output_->peer->FromProgram(message);
            return DriverSendResult::Sent;
        }
        bool Gone() const override { return output_->gone; }

        std::shared_ptr<FaultyOutput> output_;
    };
    std::shared_ptr<FaultyOutput> output_;
};

enum class Output {
    Direct, // the in-process port to the instrument
    Faulty, // a port to the instrument that fails as faultyOutput says
};

class EditorFixture {
public:
    explicit EditorFixture(bool choosePorts = true, Output outputKind = Output::Direct)
        : instrument(std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests()))
    {
        previousBoxes_ = SetMessageBoxHandler([this](std::string_view text) {
            boxes.emplace_back(text);
            if (whileBoxShows)
                whileBoxShows();
        });
        MidiSystemConfig config;
        config.useAlsa = false;
        config.useJack = false;
        faultyOutput->peer = std::make_shared<sim::EmulatedPeer>(instrument);
        config.inProcessPeers.emplace_back(sim::kEmulatedPortName, faultyOutput->peer);
        config.extraDrivers.push_back(std::make_unique<FaultyOutputDriver>(faultyOutput));
        midiSystem = std::make_unique<MidiSystem>(std::move(config));
        inputPorts.clear();
        outputPorts.clear();
        EnumerateMidiPorts();
        midiSettings = {};
        if (choosePorts) {
            midiSettings.inputEnabled = 1;
            midiSettings.outputEnabled = 1;
            midiSettings.inputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
            midiSettings.outputPortGuid =
                outputKind == Output::Faulty ? FaultyOutput::Guid() : midiSettings.inputPortGuid;
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
    std::shared_ptr<FaultyOutput> faultyOutput = std::make_shared<FaultyOutput>();
    // The texts of the message boxes shown; whileBoxShows, if set, runs
    // inside each, as the box's own event loop would.
    std::vector<std::string> boxes;
    std::function<void()> whileBoxShows;

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
