#pragma once
// The editor's copies of sounds stored in the instrument: images of one region
// of the parameter memory plus the three bytes that locate the sound on the
// instrument (bank select MSB, bank select LSB, program). They give the
// program lists their names and categories; the initial performance is what
// "Init Perf" sends; copy-from-patch fetches a temporary one.
//
// Thread: the user-interface thread.

#include <array>
#include <cstdint>
#include <string>

#include "synth/SynthDevice.h"

namespace cs6 {

// Old name of bank::kStoredSoundMsb, kept until app/ uses the new one.
inline constexpr std::uint8_t kStoredSoundBankMsb = bank::kStoredSoundMsb;

// A stored name is up to ten bytes.
inline constexpr std::size_t kNameLength = 10;

class NormalVoice {
public:
    static constexpr MemoryRegion kRegion = kNormalVoiceRegion;
    static constexpr std::size_t kNameOffset = 896;     // block 40 70, bytes 0..9
    static constexpr std::size_t kCategoryOffset = 908; // block 40 70, byte 12

    NormalVoice() = default;
    NormalVoice(std::uint8_t msb, std::uint8_t lsb, std::uint8_t number) : bankMsb(msb), bankLsb(lsb), program(number) {}

    // The ten name bytes, up to a NUL, without trailing white space.
    std::string GetName() const;
    // The category's two-letter code ("Pf"); "" for a number outside the table.
    std::string GetCategoryCode() const;
    int CategoryNumber() const { return image[kCategoryOffset]; }

    // Requests this voice from the instrument (a preset is first selected
    // with bank select and program change, then read from the edit buffer)
    // and takes the memory's normal-voice region as its image, but only when
    // the answer was complete: otherwise the image stays as it was.
    [[nodiscard]] DumpOutcome RequestFromDevice(SynthDevice& device);

    // Copies the image into the memory and sends it as a normal-voice bulk
    // framed 0E / 0F bankLsb program.
    void SendToDevice(SynthDevice& device) const;

    std::uint8_t bankMsb = 0;
    std::uint8_t bankLsb = 0;
    std::uint8_t program = 0;
    std::array<std::uint8_t, 3072> image{};
};

class DrumVoice {
public:
    static constexpr MemoryRegion kRegion = kDrumVoiceRegion;
    static constexpr std::size_t kNameOffset = 768; // block 46 70, bytes 0..9

    DrumVoice() = default;
    DrumVoice(std::uint8_t msb, std::uint8_t lsb, std::uint8_t number) : bankMsb(msb), bankLsb(lsb), program(number) {}

    std::string GetName() const;
    [[nodiscard]] DumpOutcome RequestFromDevice(SynthDevice& device);
    void SendToDevice(SynthDevice& device) const;

    std::uint8_t bankMsb = 0;
    std::uint8_t bankLsb = 0;
    std::uint8_t program = 0;
    std::array<std::uint8_t, 8192> image{};
};

class Performance {
public:
    static constexpr MemoryRegion kRegion = kPerformanceRegion;
    static constexpr std::size_t kNameOffset = 0; // block 30 00, bytes 0..9

    Performance() = default;
    Performance(std::uint8_t msb, std::uint8_t lsb, std::uint8_t number) : bankMsb(msb), bankLsb(lsb), program(number) {}

    std::string GetName() const;
    [[nodiscard]] DumpOutcome RequestFromDevice(SynthDevice& device);
    // Copies the image into the performance region and sends the
    // performance bulk framed 0E / 0F bankLsb program.
    void SendToDevice(SynthDevice& device) const;

    std::array<std::uint8_t, 8192> image{};
    std::uint8_t bankMsb = 0;
    std::uint8_t bankLsb = 0;
    std::uint8_t program = 0;
};

// A stored name: the ten bytes up to a NUL, trailing white space removed.
std::string StoredName(const std::uint8_t* tenBytes);

// The stored-sound collections.
extern std::array<NormalVoice, 128> presetBank1;
extern std::array<NormalVoice, 128> presetBank2;
extern std::array<DrumVoice, 8> presetDrums;
extern std::array<NormalVoice, 128> internalBank;
extern std::array<DrumVoice, 2> internalDrums;
extern std::array<NormalVoice, 128> externalBank;
extern std::array<DrumVoice, 2> externalDrums;
extern Performance initialPerformance;

} // namespace cs6
