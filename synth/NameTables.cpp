#include "synth/NameTables.h"

namespace cs6 {

std::array<BankEntry, kBankCount> bankTable;
std::array<std::string, kCategoryCount> categoryCodes;
std::array<std::string, kCategoryCount> categoryNames;
std::map<int, std::string> effectTypeNames;

void InitNameTables()
{
    using namespace bank;
    const BankVoices none;
    bankTable = {{
        {0x00, kGmVoiceMsb, "Normal", none, 127},
        {0x00, kGmDrumMsb, "Drum", none, 1},
        {kPre1, kStoredSoundMsb, "PRE1", std::span<NormalVoice>(presetBank1), 127},
        {kPre2, kStoredSoundMsb, "PRE2", std::span<NormalVoice>(presetBank2), 127},
        {kInt, kStoredSoundMsb, "INT", std::span<NormalVoice>(internalBank), 127},
        {kExt, kStoredSoundMsb, "EXT", std::span<NormalVoice>(externalBank), 127},
        {kPlg1, kStoredSoundMsb, "PLG1", none, 63},
        {kPlg2, kStoredSoundMsb, "PLG2", none, 63},
        {kPreDrum, kStoredSoundMsb, "PRE drum", std::span<DrumVoice>(presetDrums), 7},
        {kIntDrum, kStoredSoundMsb, "INT drum", std::span<DrumVoice>(internalDrums), 1},
        {kExtDrum, kStoredSoundMsb, "EXT drum", std::span<DrumVoice>(externalDrums), 1},
        {kIntPerf, kStoredSoundMsb, "INT perf", none, 127},
        {kExtPerf, kStoredSoundMsb, "EXT perf", none, 127},
        {kClipKit, kStoredSoundMsb, "Clip Kit", none, 3},
    }};

    categoryCodes = {"--", "Pf", "Cp", "Or", "Gt", "Ba", "St", "En", "Br", "Rd", "Pi", "Ld",
                     "Pd", "Fx", "Et", "Pc", "Se", "Dr", "Sc", "Vo", "Co", "Wv", "Sq"};
    categoryNames = {"Unassigned",   "Piano",         "Chrom. Perc.", "Organ",        "Guitar",
                     "Bass",         "Strings",       "Ensemble",     "Brass",        "Reed",
                     "Pipe",         "Synth Lead",    "Synth Pad",    "Synth Effects", "Ethnic",
                     "Percussion",   "Sound FX",      "Drums",        "Synth Comping", "Vocal",
                     "Combination",  "Material Wave", "Sequence"};

    auto key = [](int msb, int lsb) { return msb * 256 + lsb; };
    effectTypeNames = {
        {key(0x00, 0x00), "THRU"},
        {key(0x01, 0x00), "Hall 1"},
        {key(0x01, 0x01), "Hall 2"},
        {key(0x01, 0x10), "Room 1"},
        {key(0x01, 0x11), "Room 2"},
        {key(0x01, 0x12), "Room 3"},
        {key(0x01, 0x20), "Stage 1"},
        {key(0x01, 0x21), "Stage 2"},
        {key(0x01, 0x30), "Plate"},
        {key(0x01, 0x40), "White Room"},
        {key(0x01, 0x41), "Tunnel"},
        {key(0x01, 0x42), "Basement"},
        {key(0x01, 0x43), "Canyon"},
        {key(0x02, 0x00), "Delay L,C,R"},
        {key(0x02, 0x10), "Delay L,R"},
        {key(0x02, 0x20), "Echo"},
        {key(0x02, 0x30), "Cross Delay"},
        {key(0x02, 0x40), "Control Delay 1 (Mono)"},
        {key(0x02, 0x48), "Control Delay 2 (Stereo)"},
        {key(0x02, 0x50), "Tempo Delay 1 (Mono)"},
        {key(0x02, 0x58), "Tempo Delay 2 (Stereo)"},
        {key(0x02, 0x60), "Tempo Cross Delay"},
        {key(0x03, 0x00), "Early reflection 1"},
        {key(0x03, 0x01), "Early reflection 2"},
        {key(0x03, 0x10), "Gate Reverb"},
        {key(0x03, 0x20), "Reverse Gate"},
        {key(0x04, 0x00), "Karaoke 1"},
        {key(0x04, 0x01), "Karaoke 2"},
        {key(0x04, 0x02), "Karaoke 3"},
        {key(0x05, 0x00), "Chorus 1"},
        {key(0x05, 0x01), "Chorus 2"},
        {key(0x05, 0x02), "Chorus 3"},
        {key(0x05, 0x08), "Chorus 4"},
        {key(0x05, 0x09), "Chorus 5"},
        {key(0x05, 0x10), "Celeste 1"},
        {key(0x05, 0x11), "Celeste 2"},
        {key(0x05, 0x12), "Celeste 3"},
        {key(0x05, 0x18), "Celeste 4"},
        {key(0x05, 0x20), "Symphonic"},
        {key(0x05, 0x30), "Ensemble Detune"},
        {key(0x06, 0x00), "Flanger 1"},
        {key(0x06, 0x01), "Flanger 2"},
        {key(0x06, 0x08), "Flanger 3"},
        {key(0x06, 0x10), "V-Flanger"},
        {key(0x06, 0x50), "Tempo Flanger"},
        {key(0x07, 0x00), "Phaser 1"},
        {key(0x07, 0x08), "Phaser 2"},
        {key(0x07, 0x50), "Tempo Phaser"},
    };
}

const NormalVoice* BankEntry::NormalVoiceAt(int program) const
{
    const auto* list = std::get_if<std::span<NormalVoice>>(&voices);
    if (!list || program < 0 || static_cast<std::size_t>(program) >= list->size())
        return nullptr;
    return &(*list)[static_cast<std::size_t>(program)];
}

const DrumVoice* BankEntry::DrumVoiceAt(int program) const
{
    const auto* kits = std::get_if<std::span<DrumVoice>>(&voices);
    if (!kits || program < 0 || static_cast<std::size_t>(program) >= kits->size())
        return nullptr;
    return &(*kits)[static_cast<std::size_t>(program)];
}

std::string_view CategoryCode(int number)
{
    if (number < 0 || static_cast<std::size_t>(number) >= categoryCodes.size())
        return {};
    return categoryCodes[static_cast<std::size_t>(number)];
}

std::string_view CategoryName(int number)
{
    if (number < 0 || static_cast<std::size_t>(number) >= categoryNames.size())
        return {};
    return categoryNames[static_cast<std::size_t>(number)];
}

std::string_view EffectTypeName(int key)
{
    const auto it = effectTypeNames.find(key);
    return it == effectTypeNames.end() ? std::string_view{} : std::string_view{it->second};
}

std::string_view EffectTypeName(std::uint8_t msb, std::uint8_t lsb)
{
    return EffectTypeName(msb * 256 + lsb);
}

} // namespace cs6
