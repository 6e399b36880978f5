#pragma once
// Every MIDI message the editor builds for the CS6x / CS6R (Yamaha, model 0x64,
// device number 1) and the reading of the bulk dumps it sends back.
// Builders return one complete message, F0 through F7 or a whole channel
// message. Bytes inside a SysEx message are 7-bit: a stray high bit in an
// address or data byte is cleared, since on the wire it would end the message.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "synth/InstrumentMap.h"

namespace cs6::sysex {

using Message = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::uint8_t kYamaha = 0x43;
inline constexpr std::uint8_t kModelCs6x = 0x64;
inline constexpr std::uint8_t kParameterChangeStatus = 0x10;
inline constexpr std::uint8_t kBulkDumpStatus = 0x00;
inline constexpr std::uint8_t kDumpRequestStatus = 0x20;

// Parameter change F0 43 10 64 hh mm ll data… F7 (count + 8 bytes).
Message ParameterChange(int high, int mid, int low, std::span<const std::uint8_t> data);

// Bulk dump F0 43 00 64 count-high count-low hh mm ll data… checksum F7
// (count + 11 bytes). An empty data makes a bulk header (high 0E) or footer (0F).
Message BulkDump(int high, int mid, int low, std::span<const std::uint8_t> data);

// Dump request F0 43 20 64 hh mm ll F7.
Message DumpRequest(int high, int mid, int low);

// Channel messages on MIDI channel 1.
Message BankSelectMsb(int value);   // B0 00 vv
Message BankSelectLsb(int value);   // B0 20 vv
Message ProgramChange(int program); // C0 pp

// (128 - (sum & 127)) & 127 over the bytes from the byte count on, so that the
// low 7 bits of sum + checksum are 0.
std::uint8_t Checksum(std::span<const std::uint8_t> countAddressAndData);

// The fields of a received bulk dump.
struct BulkDumpFields {
    int byteCount = 0;
    int high = 0;
    int mid = 0;
    int low = 0;
    std::span<const std::uint8_t> data;

    std::uint32_t Address() const
    {
        return static_cast<std::uint32_t>(high) << 14 | static_cast<std::uint32_t>(mid) << 7 |
               static_cast<std::uint32_t>(low);
    }
    bool IsHeaderOrFooter() const { return high == block::kBulkHeader || high == block::kBulkFooter; }
};

// Reads byte count (bytes 4, 5), address (6, 7, 8) and data (from byte 9).
// Nothing when the message is too short to hold them.
std::optional<BulkDumpFields> ReadBulkDump(std::span<const std::uint8_t> message);

// True for a well-formed bulk dump of this instrument: F0 43 0n 64, a length of
// byte count + 11, 7-bit bytes between F0 and F7, a correct checksum, F7 last.
bool IsValidBulkDump(std::span<const std::uint8_t> message);

} // namespace cs6::sysex
