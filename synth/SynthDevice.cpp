#include "synth/SynthDevice.h"

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <utility>

#include "synth/BulkSequences.h"
#include "synth/SysExMessages.h"

namespace cs6 {

int ExpectedReplies(DumpType type)
{
    const bool whole = std::find(kDumpTypes.begin(), kDumpTypes.end(), type) != kDumpTypes.end();
    return whole ? static_cast<int>(BulkBlocks(type).size()) + 2 : 1; // the blocks, header and footer
}

const char* DumpOutcomeText(DumpOutcome outcome)
{
    switch (outcome) {
    case DumpOutcome::Complete:
        return "complete";
    case DumpOutcome::NotAnswered:
        return "not answered";
    case DumpOutcome::Incomplete:
        return "incomplete";
    case DumpOutcome::Corrupt:
        return "corrupt";
    }
    return "unknown";
}

SynthDevice::SynthDevice(MessageOutput* output) : output_(output)
{
    SetPause({});
}

void SynthDevice::SetPause(Pause pause)
{
    if (pause)
        pause_ = std::move(pause);
    else
        pause_ = [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); };
}

void SynthDevice::SendMessage(std::span<const std::uint8_t> message)
{
    Send(message);
}

DumpOutcome SynthDevice::RequestDump(int high, int mid, int low, DumpType type)
{
    const auto expected = static_cast<std::size_t>(ExpectedReplies(type));
    const sysex::Message request = sysex::DumpRequest(high, mid, low);
    if (!replies_) {
        Send(request);
        return DumpOutcome::NotAnswered;
    }
    replies_->Arm(static_cast<int>(expected));
    Send(request);
    const auto batch = replies_->WaitForReplies();
    return ApplyReplies(batch, expected);
}

DumpOutcome SynthDevice::RequestEditBuffer(DumpType type)
{
    return RequestDump(block::kBulkHeader, EditBufferMid(type), 0x00, type);
}

DumpOutcome SynthDevice::ApplyReplies(std::span<const std::vector<std::uint8_t>> batch, std::size_t expected)
{
    if (batch.empty())
        return DumpOutcome::NotAnswered;
    if (batch.size() != expected)
        return DumpOutcome::Incomplete;

    // Check all of it before touching the memory: a batch is applied whole or
    // not at all.
    for (const auto& message : batch) {
        if (!sysex::IsValidBulkDump(message))
            return DumpOutcome::Corrupt;
        const auto fields = sysex::ReadBulkDump(message);
        if (!fields)
            return DumpOutcome::Corrupt;
        if (fields->IsHeaderOrFooter())
            continue;
        if (!memory_.FitsInBlock(fields->Address(), fields->data.size()))
            return DumpOutcome::Corrupt;
    }
    std::size_t first = ParameterMemory::kImageSize;
    std::size_t end = 0;
    for (const auto& message : batch) {
        const auto fields = sysex::ReadBulkDump(message);
        if (fields->IsHeaderOrFooter())
            continue;
        const MemoryRegion written = Put(fields->Address(), fields->data);
        first = std::min(first, written.offset);
        end = std::max(end, written.offset + written.size);
    }
    if (first < end)
        Changed({first, end - first});
    return DumpOutcome::Complete;
}

MemoryRegion SynthDevice::Put(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    const auto target = memory_.Bytes(address, bytes.size());
    std::copy(bytes.begin(), bytes.end(), target.begin());
    return {static_cast<std::size_t>(target.data() - memory_.image.data()), target.size()};
}

void SynthDevice::Changed(MemoryRegion region) const
{
    for (const auto& [id, listener] : listeners_)
        listener(region);
}

void SynthDevice::Edit(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    const MemoryRegion written = Put(address, bytes);
    if (!bytes.empty())
        Send(sysex::ParameterChange(AddressHigh(address), AddressMid(address), AddressLow(address), bytes));
    Changed(written);
}

void SynthDevice::EditEachByte(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    const MemoryRegion written = Put(address, bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto at = address + static_cast<std::uint32_t>(i);
        Send(sysex::ParameterChange(AddressHigh(at), AddressMid(at), AddressLow(at), bytes.subspan(i, 1)));
        Wait(kEachBytePause);
    }
    Changed(written);
}

void SynthDevice::Write(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    Changed(Put(address, bytes));
}

void SynthDevice::WriteRegion(MemoryRegion region, std::span<const std::uint8_t> bytes)
{
    const auto target = memory_.Region(region);
    if (bytes.size() != target.size())
        throw std::invalid_argument("an image of another size than its region");
    std::copy(bytes.begin(), bytes.end(), target.begin());
    Changed(region);
}

SynthDevice::Subscription SynthDevice::Subscribe(ChangeListener listener)
{
    const int id = nextListener_++;
    listeners_.emplace_back(id, std::move(listener));
    return {this, id};
}

SynthDevice::Subscription::Subscription(Subscription&& other) noexcept
    : device_(std::exchange(other.device_, nullptr)), id_(other.id_)
{
}

SynthDevice::Subscription& SynthDevice::Subscription::operator=(Subscription&& other) noexcept
{
    if (this != &other) {
        Subscription gone(std::move(*this));
        device_ = std::exchange(other.device_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

SynthDevice::Subscription::~Subscription()
{
    if (!device_)
        return;
    auto& listeners = device_->listeners_;
    std::erase_if(listeners, [this](const auto& entry) { return entry.first == id_; });
}

void SynthDevice::SendBulk(DumpType type, int bankLsb, int program)
{
    const auto pause = type == DumpType::Performance ? kPerformancePause : kVoicePause;
    for (const sysex::Message& message : BuildBulk(memory_, type, bankLsb, program)) {
        Send(message);
        Wait(pause);
    }
}

void SynthDevice::SendPerformance(int, int bankLsb, int program)
{
    SendBulk(DumpType::Performance, bankLsb, program);
}

void SynthDevice::Send(std::span<const std::uint8_t> message)
{
    if (output_)
        output_->SendMessage(message);
}

std::span<const std::uint8_t> SynthDevice::MemoryBytes(int high, int mid, int low, int count) const
{
    const std::uint8_t* first = memory_.ByteAt(high, mid, low);
    if (count < 1)
        return {first, 0};
    return memory_.Bytes(PackAddress(high, mid, low), static_cast<std::size_t>(count));
}

void SynthDevice::SendParameterChange(int high, int mid, int low, int count)
{
    // The lookup comes first, so a bad address is reported even when nothing
    // is sent.
    const auto data = MemoryBytes(high, mid, low, count);
    if (!data.empty())
        Send(sysex::ParameterChange(high, mid, low, data));
}

void SynthDevice::SendParameterChangeAt(std::uint32_t address, int count)
{
    SendParameterChange(AddressHigh(address), AddressMid(address), AddressLow(address), count);
}

void SynthDevice::SendBulkBlock(int high, int mid, int low, int count)
{
    const auto data = MemoryBytes(high, mid, low, count);
    if (!data.empty())
        Send(sysex::BulkDump(high, mid, low, data));
}

void SendParameterData(MessageOutput* output, int high, int mid, int low, std::span<const std::uint8_t> data)
{
    if (!output || data.empty())
        return;
    output->SendMessage(sysex::ParameterChange(high, mid, low, data));
}

void SwitchPulse(SynthDevice& device, int s)
{
    const std::uint8_t on[] = {0x01};
    const std::uint8_t off[] = {0x00};
    SendParameterData(device.Output(), block::kSwitches, 0x00, s, on);
    device.Wait(kSwitchPause);
    SendParameterData(device.Output(), block::kSwitches, 0x00, s, off);
    device.Wait(kSwitchPause);
}

} // namespace cs6
