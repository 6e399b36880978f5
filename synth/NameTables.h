#pragma once
// The editor's vocabulary: the selectable banks, the voice categories and the
// effect types. InitNameTables fills them once at start-up; afterwards they
// only change when the stored-sound collections attach to their bank rows.
//
// Thread: filled and read on the user-interface thread.

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "synth/StoredSounds.h"

namespace cs6 {

// A bank's stored sounds, where the editor keeps copies of them.
using BankVoices = std::variant<std::monostate, std::span<NormalVoice>, std::span<DrumVoice>>;

struct BankEntry {
    std::uint8_t bankLsb = 0; // bank select LSB; also the mid byte of dump requests
    std::uint8_t bankMsb = 0; // bank select MSB
    std::string name;         // label in the bank lists
    BankVoices voices;        // the stored sounds, or none
    int lastProgram = 0;      // highest program number; lists offer lastProgram + 1

    // Name and category code of a program, when the bank has stored sounds
    // and the program is one of them.
    const NormalVoice* NormalVoiceAt(int program) const;
    const DrumVoice* DrumVoiceAt(int program) const;
};

inline constexpr std::size_t kBankCount = 14;
inline constexpr std::size_t kCategoryCount = 23;

// Rows the dialogs refer to by index.
enum BankRow : int {
    kBankNormal = 0,
    kBankDrum = 1,
    kBankPre1 = 2,
    kBankPre2 = 3,
    kBankInt = 4,
    kBankExt = 5,
    kBankPlg1 = 6,
    kBankPlg2 = 7,
    kBankPreDrum = 8,
    kBankIntDrum = 9,
    kBankExtDrum = 10,
    kBankIntPerf = 11,
    kBankExtPerf = 12,
    kBankClipKit = 13,
};

extern std::array<BankEntry, kBankCount> bankTable;
extern std::array<std::string, kCategoryCount> categoryCodes;
extern std::array<std::string, kCategoryCount> categoryNames;
// Key: effect type MSB * 256 + LSB.
extern std::map<int, std::string> effectTypeNames;

void InitNameTables();

// Checked readers: a number outside the tables or an absent key gives "".
std::string_view CategoryCode(int number);
std::string_view CategoryName(int number);
std::string_view EffectTypeName(int key);
std::string_view EffectTypeName(std::uint8_t msb, std::uint8_t lsb);

} // namespace cs6
