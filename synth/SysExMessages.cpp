#include "synth/SysExMessages.h"

#include <algorithm>

namespace cs6::sysex {
namespace {

std::uint8_t Data7(int value) { return static_cast<std::uint8_t>(value & 0x7F); }

void AppendData(Message& message, std::span<const std::uint8_t> data)
{
    for (const std::uint8_t byte : data)
        message.push_back(byte & 0x7F);
}

} // namespace

std::uint8_t Checksum(std::span<const std::uint8_t> countAddressAndData)
{
    unsigned sum = 0;
    for (const std::uint8_t byte : countAddressAndData)
        sum += byte;
    return static_cast<std::uint8_t>((128 - (sum & 127)) & 127);
}

Message ParameterChange(int high, int mid, int low, std::span<const std::uint8_t> data)
{
    Message message;
    message.reserve(data.size() + 8);
    message = {kSysExStart, kYamaha, kParameterChangeStatus, kModelCs6x, Data7(high), Data7(mid), Data7(low)};
    AppendData(message, data);
    message.push_back(kSysExEnd);
    return message;
}

Message BulkDump(int high, int mid, int low, std::span<const std::uint8_t> data)
{
    const auto count = static_cast<int>(data.size());
    Message message;
    message.reserve(data.size() + 11);
    message = {kSysExStart,     kYamaha,          kBulkDumpStatus, kModelCs6x, Data7(count >> 7),
               Data7(count),    Data7(high),      Data7(mid),      Data7(low)};
    AppendData(message, data);
    message.push_back(Checksum(std::span(message).subspan(4)));
    message.push_back(kSysExEnd);
    return message;
}

Message DumpRequest(int high, int mid, int low)
{
    return {kSysExStart, kYamaha, kDumpRequestStatus, kModelCs6x, Data7(high), Data7(mid), Data7(low), kSysExEnd};
}

Message BankSelectMsb(int value) { return {0xB0, 0x00, Data7(value)}; }

Message BankSelectLsb(int value) { return {0xB0, 0x20, Data7(value)}; }

Message ProgramChange(int program) { return {0xC0, Data7(program)}; }

std::optional<BulkDumpFields> ReadBulkDump(std::span<const std::uint8_t> message)
{
    if (message.size() < 9)
        return std::nullopt;
    BulkDumpFields fields;
    fields.byteCount = (message[4] << 7) + message[5];
    fields.high = message[6];
    fields.mid = message[7];
    fields.low = message[8];
    const std::size_t available = message.size() - 9;
    if (static_cast<std::size_t>(fields.byteCount) > available)
        return std::nullopt;
    fields.data = message.subspan(9, static_cast<std::size_t>(fields.byteCount));
    return fields;
}

bool IsValidBulkDump(std::span<const std::uint8_t> message)
{
    if (message.size() < 11)
        return false;
    if (message[0] != kSysExStart || message[1] != kYamaha || (message[2] & 0xF0) != kBulkDumpStatus ||
        message[3] != kModelCs6x || message.back() != kSysExEnd)
        return false;
    const auto body = message.subspan(1, message.size() - 2);
    if (std::any_of(body.begin(), body.end(), [](std::uint8_t b) { return b > 0x7F; }))
        return false;
    const std::size_t count = (static_cast<std::size_t>(message[4]) << 7) + message[5];
    if (message.size() != count + 11)
        return false;
    // Over count, address, data and the checksum itself the low 7 bits sum to 0.
    unsigned sum = 0;
    for (const std::uint8_t byte : message.subspan(4, count + 6))
        sum += byte;
    return (sum & 127) == 0;
}

} // namespace cs6::sysex
