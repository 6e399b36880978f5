#include "midi/MidiConnection.h"

#include <exception>

#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/ReplyCollector.h"

namespace cs6 {

std::unique_ptr<MidiInputPort> inputPort;
std::unique_ptr<MidiPort> outputPort;
bool inputOpen = false;
bool outputOpen = false;

void OpenMidiConnection()
{
    CloseMidiConnection();
    if (!midiSystem)
        return;
    // A port that fails to open, for whatever reason (no such port, no
    // thread for receiving, no memory), is left closed; the editor asks for
    // ports when it finds it so.
    if (midiSettings.inputEnabled) {
        try {
            auto port = midiSystem->CreateInputPort(midiSettings.inputPortGuid, kMaxMessageBytes);
            port->StartReceiving(&replyCollector);
            inputPort = std::move(port);
            inputOpen = true;
        } catch (const PyxMidiPortException&) {
        } catch (const std::exception&) {
        }
    }
    if (midiSettings.outputEnabled) {
        try {
            outputPort = midiSystem->CreateOutputPort(midiSettings.outputPortGuid, kMaxMessageBytes);
            outputOpen = true;
        } catch (const PyxMidiPortException&) {
        } catch (const std::exception&) {
        }
    }
}

void CloseMidiConnection()
{
    if (inputOpen) {
        (void)inputPort->Activate(false);
        inputPort->StopReceiving();
        inputOpen = false;
    }
    inputPort.reset();
    if (outputOpen) {
        (void)outputPort->Activate(false);
        outputOpen = false;
    }
    outputPort.reset();
}

void ConnectionOutput::SendMessage(std::span<const std::uint8_t> message)
{
    ++handed_;
    if (!outputOpen || !outputPort)
        return;
    (void)outputPort->SendMidiMessage(message, 0);
    if (outputPort->Gone())
        outputOpen = false;
}

void CollectorReplySource::Arm(int expectedCount) { collector_.Arm(expectedCount); }

std::vector<std::vector<std::uint8_t>> CollectorReplySource::WaitForReplies()
{
    (void)collector_.WaitForReplies();
    std::vector<std::vector<std::uint8_t>> batch;
    for (auto& message : collector_.TakeCollected())
        batch.push_back(std::move(message.data));
    return batch;
}

} // namespace cs6
