#include "synth/SynthDevice.h"

#include "synth/SysExMessages.h"

namespace cs6 {

SynthDevice::SynthDevice(MessageOutput* output) : output_(output) {}

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

void SendBulkData(MessageOutput* output, int high, int mid, int low, std::span<const std::uint8_t> data)
{
    if (!output)
        return;
    output->SendMessage(sysex::BulkDump(high, mid, low, data));
}

} // namespace cs6
