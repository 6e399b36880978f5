#include "sim/FactoryContents.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "synth/StoredSounds.h"

namespace cs6::sim {
namespace {

constexpr std::array<int, 12> kReverbTypes{0x0100, 0x0101, 0x0110, 0x0111, 0x0112, 0x0120,
                                           0x0121, 0x0130, 0x0140, 0x0141, 0x0142, 0x0143};
constexpr std::array<int, 14> kChorusTypes{0x0500, 0x0501, 0x0502, 0x0508, 0x0509, 0x0510, 0x0511,
                                           0x0520, 0x0530, 0x0600, 0x0601, 0x0610, 0x0700, 0x0708};
// splitmix64: small, fully specified, the same everywhere.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A value in lo..hi (both 7-bit).
    std::uint8_t Between(int lo, int hi)
    {
        return static_cast<std::uint8_t>(lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1)));
    }

    template <typename T, std::size_t N>
    const T& Pick(const std::array<T, N>& items)
    {
        return items[Next() % N];
    }

private:
    std::uint64_t state_;
};

std::uint64_t Seed(int code, int program) { return static_cast<std::uint64_t>(code) << 16 | static_cast<std::uint64_t>(program); }

std::uint8_t U8(int value) { return static_cast<std::uint8_t>(value); }

// Voice names by category number; a name that comes round again gets a number.
constexpr std::array<std::array<std::string_view, 6>, 23> kVoiceNames{{
    {"Init Voice", "Blank", "Test Tone", "Sine Init", "Saw Init", "Empty"},
    {"Grand Pf", "Bright Pf", "Stage EP", "Tine EP", "Wurly", "Upright"},
    {"Vibes", "Marimba", "Celesta", "Glocken", "Xylophone", "Tubular"},
    {"Jazz Organ", "Rock Organ", "Perc Organ", "Church", "Full Bars", "Gospel"},
    {"Nylon Gt", "Steel Gt", "Jazz Gt", "Clean Gt", "Mute Gt", "Dist Gt"},
    {"Finger Ba", "Pick Bass", "Fretless", "Slap Bass", "Saw Bass", "Acid Bass"},
    {"Strings", "Slow Str", "Chamber", "Pizz Str", "Tremolo", "Cello Sect"},
    {"Choir Ens", "Str+Brass", "Orchestra", "Tutti", "Pop Ens", "Film Ens"},
    {"Brass Sect", "Trumpet", "Trombone", "Horns", "SynBrass", "Mute Tp"},
    {"Alto Sax", "Tenor Sax", "Clarinet", "Oboe", "Bassoon", "Sax Sect"},
    {"Flute", "Pan Flute", "Piccolo", "Recorder", "Whistle", "Ocarina"},
    {"Saw Lead", "Square Ld", "Sync Lead", "Mini Lead", "Fifth Ld", "Soft Lead"},
    {"Warm Pad", "Glass Pad", "Sweep Pad", "Halo Pad", "Air Pad", "Poly Pad"},
    {"Rain", "Crystal", "Sci-Fi", "Atmos", "Goblin", "Echo Drops"},
    {"Sitar", "Koto", "Shamisen", "Banjo", "Kalimba", "Bagpipe"},
    {"Timpani", "Steel Drum", "Taiko", "Congas", "Agogo", "Woodblock"},
    {"Wind", "Seashore", "Birds", "Telephone", "Helicopter", "Thunder"},
    {"Loop Kit", "Break Beat", "Perc Loop", "Shaker Lp", "Tom Roll", "Cymbal Sw"},
    {"Comp Saw", "Stab", "Pluck Syn", "Chord Hit", "Rave Comp", "Funk Comp"},
    {"Aahs", "Oohs", "Vox Pad", "Breathy", "Doo Voice", "Whisper"},
    {"Pf+Pad", "Str+Pf", "EP+Str", "Bass/Pf", "Layer Mix", "Brs+Str"},
    {"Sine Wave", "Saw Wave", "Pulse Wave", "Noise", "Digi Wave", "Formant"},
    {"Arp Seq", "Seq Bass", "Step Seq", "Gated Seq", "Pulse Seq", "Poly Seq"},
}};

constexpr std::array<std::string_view, 8> kPresetKitNames{"Std Kit 1", "Std Kit 2", "Room Kit", "Rock Kit",
                                                          "Elec Kit",  "Analog Kit", "Jazz Kit", "Brush Kit"};
constexpr std::array<std::string_view, 2> kIntKitNames{"Dance Kit", "HipHop Kit"};
constexpr std::array<std::string_view, 2> kExtKitNames{"Techno Kit", "Orch Kit"};

constexpr std::array<std::string_view, 16> kIntPerfWords{"Big",  "Warm", "Dark", "Soft", "Wide",  "Deep",
                                                         "Fat",  "Glass", "Silk", "Hard", "Lush",  "Cold",
                                                         "Hot",  "Dream", "Space", "Pure"};
constexpr std::array<std::string_view, 8> kExtPerfWords{"Neo", "Retro", "Funk", "Jazz", "Pop", "Rock", "Club", "Film"};

enum class Layout { Layer, Split, Multi, Arpeggio };

struct PerformanceStyle {
    std::string_view word;
    int category;       // of the performance and of its main voice
    int secondCategory; // of the voice beside it
    Layout layout;
};

constexpr std::array<PerformanceStyle, 8> kStyles{{
    {"Pad", 12, 6, Layout::Layer},
    {"Keys", 1, 5, Layout::Split},
    {"Arp", 22, 12, Layout::Arpeggio},
    {"Lead", 11, 12, Layout::Layer},
    {"Zone", 20, 5, Layout::Split},
    {"Bass", 5, 1, Layout::Split},
    {"Trio", 7, 5, Layout::Multi},
    {"Band", 17, 5, Layout::Multi},
}};

// Category of a stored normal voice: the presets run through categories 1..22
// in order, like a factory bank; the user banks cycle through all 23.
int VoiceCategory(int code, int program)
{
    switch (code) {
    case bank::kPre1:
        return 1 + program * 22 / 128;
    case bank::kPre2:
        return 1 + (program * 22 / 128 + 11) % 22;
    case bank::kInt:
        return program % 23;
    default:
        return (program * 7 + 3) % 23;
    }
}

// A preset voice of the category, the n-th of it counting round.
struct PresetVoice {
    int code;
    int program;
};

PresetVoice PresetOfCategory(int category, int nth)
{
    std::vector<PresetVoice> found;
    for (int code : {bank::kPre1, bank::kPre2})
        for (int program = 0; program < 128; ++program)
            if (VoiceCategory(code, program) == category)
                found.push_back({code, program});
    if (found.empty())
        return {bank::kPre1, 0};
    return found[static_cast<std::size_t>(nth) % found.size()];
}

std::string FitName(std::string_view base, int round)
{
    std::string name(base);
    if (round > 0) {
        const std::string suffix = " " + std::to_string(round + 1);
        name = name.substr(0, kNameLength - suffix.size());
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        name += suffix;
    }
    return name.substr(0, kNameLength);
}

void WriteName(std::uint8_t* at, std::string_view name)
{
    for (std::size_t i = 0; i < kNameLength; ++i)
        at[i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : std::uint8_t{' '};
}

void WriteEffectType(std::uint8_t* block, int key)
{
    block[0] = U8(key >> 8);
    block[1] = U8(key & 0xFF);
}

// Blocks whose meaning this instrument does not model get values in a middle
// range, so they are neither blank nor extreme.
void FillBlocks(ParameterMemory& memory, DumpType type, Generator& generator)
{
    for (const BulkBlock& b : BulkBlocks(type))
        for (std::uint8_t& byte : memory.Bytes(b.address, static_cast<std::size_t>(b.count)))
            byte = generator.Between(16, 111);
}

void CopyOut(const ParameterMemory& memory, DumpType type, std::span<std::uint8_t> image)
{
    const auto region = memory.Region(BulkRegion(type));
    std::copy(region.begin(), region.end(), image.begin());
}

void ClearRegion(ParameterMemory& memory, DumpType type)
{
    const auto region = memory.Region(BulkRegion(type));
    std::fill(region.begin(), region.end(), std::uint8_t{0});
}

// A normal or drum voice starts the same way: an empty region, its blocks
// filled from the location's own seed, then reverb and chorus types in its
// common high's reverb and chorus blocks.
void StartVoice(ParameterMemory& memory, DumpType type, int commonHigh, int code, int program)
{
    Generator generator(Seed(code, program));
    ClearRegion(memory, type);
    FillBlocks(memory, type, generator);
    WriteEffectType(memory.Block(commonHigh, block::kReverb), generator.Pick(kReverbTypes));
    WriteEffectType(memory.Block(commonHigh, block::kChorus), generator.Pick(kChorusTypes));
}

void MakeVoice(ParameterMemory& memory, int code, int program, std::array<int, 23>& uses,
               std::span<std::uint8_t> image)
{
    StartVoice(memory, DumpType::NormalVoice, block::kVoice, code, program);

    const int category = VoiceCategory(code, program);
    // Each bank starts its name lists at a different place, so PRE1 and PRE2
    // do not begin with the same names.
    const auto& names = kVoiceNames[static_cast<std::size_t>(category)];
    const int use = uses[static_cast<std::size_t>(category)]++ + code * 2;
    std::uint8_t* nameBlock = memory.Block(block::kVoice, block::kName);
    WriteName(nameBlock, FitName(names[static_cast<std::size_t>(use) % names.size()],
                                 use / static_cast<int>(names.size())));
    nameBlock[10] = 0;
    nameBlock[11] = 0;
    nameBlock[12] = U8(category);
    CopyOut(memory, DumpType::NormalVoice, image);
}

void MakeKit(ParameterMemory& memory, int code, int program, std::string_view name, std::span<std::uint8_t> image)
{
    StartVoice(memory, DumpType::DrumVoice, block::kDrumVoice, code, program);
    std::uint8_t* nameBlock = memory.Block(block::kDrumVoice, block::kName);
    WriteName(nameBlock, name);
    std::fill(nameBlock + kNameLength, nameBlock + 56, std::uint8_t{0});
    CopyOut(memory, DumpType::DrumVoice, image);
}

struct PartSetting {
    int bankLsb = bank::kPre1;
    int program = 0;
    int channel = part::kReceiveOff;
    int volume = 100;
    int pan = 64;
    int reverbSend = 40;
    int chorusSend = 0;
    int noteShift = 64;
    bool layer = false;
    bool arpeggio = false;
};

void WritePart(ParameterMemory& memory, int partIndex, const PartSetting& setting)
{
    using namespace part;
    std::uint8_t* at = memory.Block(block::kPart, partIndex);
    std::fill(at, at + 37, std::uint8_t{0});
    at[kBankMsb] = bank::kStoredSoundMsb;
    at[kBankLsb] = U8(setting.bankLsb);
    at[kProgram] = U8(setting.program);
    at[kReceiveChannel] = U8(setting.channel);
    at[kPolyMode] = 1;
    at[kVelocityDepth] = 64;
    at[kVelocityOffset] = 64;
    at[kVolume] = U8(setting.volume);
    at[kPan] = U8(setting.pan);
    at[kDetuneHigh] = 0x08; // detune 128: none
    at[kDetuneLow] = 0x00;
    at[kReverbSend] = U8(setting.reverbSend);
    at[kChorusSend] = U8(setting.chorusSend);
    at[kNoteShift] = U8(setting.noteShift);
    at[kCutoff] = 64; // no offset
    at[kResonance] = 64;
    at[kPortamentoTime] = 20; // portamento itself off
    // Receive bank, control, program, aftertouch and pitch bend; then layer and arpeggio.
    at[kReceiveSwitches1] = U8(0x7C | (setting.layer ? kLayerBit : 0) | (setting.arpeggio ? kArpeggioBit : 0));
    at[kReceiveSwitches2] = 0x2B; // volume, pan, sustain, modulation
    at[kReceiveSwitches3] = 0x3F; // foot controller, foot switch, ribbon, breath, knobs
    for (const int envelope : {kEnvelopeSustain, kEnvelopeAttack, kEnvelopeDecay, kEnvelopeRelease})
        at[envelope] = 64; // no offset
}

struct CommonSetting {
    std::string_view name;
    int category = 0;
    int masterKeyboardMode = 2;
    int splitPoint = 60;
    bool arpeggio = false;
    int arpeggioType = 0;
    int reverbType = 0x0100;
    int chorusType = 0x0500;
};

void WriteCommon(ParameterMemory& memory, const CommonSetting& setting)
{
    using namespace common;
    std::uint8_t* bytes = memory.Block(block::kPerformance, kBlockMid);
    std::fill(bytes, bytes + 68, std::uint8_t{0});
    WriteName(bytes + kName, setting.name);
    bytes[kCategory] = U8(setting.category);
    bytes[kPhraseClipPitch] = 64; // centre
    bytes[kMasterKeyboardMode] = U8(setting.masterKeyboardMode);
    bytes[kSplitPoint] = U8(setting.splitPoint);
    bytes[kLayerChannel] = 0; // channel 1
    bytes[kArpOutSwitch] = 0;
    bytes[kArpOutChannel] = 16; // the keyboard channel
    bytes[kArpType] = U8(setting.arpeggioType);
    bytes[kArpSwitch] = setting.arpeggio ? 1 : 0;
    bytes[kArpHold] = 1; // off
    bytes[kArpUnit] = 3; // 100 %
    bytes[kArpNoteLow] = 0;     // C-2 ..
    bytes[kArpNoteHigh] = 127;  // .. G8
    bytes[kArpVelocityRate] = 0; // 100
    bytes[kArpVelocityRate + 1] = 100;
    bytes[kArpGateTime] = 0; // 100
    bytes[kArpGateTime + 1] = 100;
    bytes[kArpTempo] = 0; // 120
    bytes[kArpTempo + 1] = 120;
    bytes[kVolume] = 100;
    bytes[kInsEffectPart] = part::kNone;
    bytes[kInsEffectPlgPart] = part::kNone;
    bytes[kInsPlgPart] = part::kNone;
    WriteEffectType(memory.Block(block::kPerformance, block::kReverb), setting.reverbType);
    WriteEffectType(memory.Block(block::kPerformance, block::kChorus), setting.chorusType);
}

void MakePerformance(ParameterMemory& memory, int code, int program, std::span<std::uint8_t> image)
{
    Generator generator(Seed(code, program));
    ClearRegion(memory, DumpType::Performance);
    FillBlocks(memory, DumpType::Performance, generator);

    const bool internal = code == bank::kIntPerf;
    const int row = program / 8;
    const PerformanceStyle& style = kStyles[static_cast<std::size_t>(program % 8)];
    const std::string_view word =
        internal ? kIntPerfWords[static_cast<std::size_t>(row)] : kExtPerfWords[static_cast<std::size_t>(row)];
    const std::string name = std::string(word) + " " + std::string(style.word);

    CommonSetting common;
    common.name = name;
    common.category = style.category;
    common.reverbType = kReverbTypes[static_cast<std::size_t>(program) % kReverbTypes.size()];
    common.chorusType = kChorusTypes[static_cast<std::size_t>(program * 5 + (internal ? 0 : 3)) % kChorusTypes.size()];
    common.masterKeyboardMode = style.layout == Layout::Split ? 0 : 2;
    common.splitPoint = 48 + program % 13;
    common.arpeggio = style.layout == Layout::Arpeggio;
    common.arpeggioType = style.layout == Layout::Arpeggio ? program : 0;
    WriteCommon(memory, common);

    const PresetVoice main = PresetOfCategory(style.category, row);
    const PresetVoice second = PresetOfCategory(style.secondCategory, row + 1);
    for (const int index : part::kIndexes)
        WritePart(memory, index, PartSetting{});

    PartSetting first{main.code, main.program, 0};
    PartSetting other{second.code, second.program, 0};
    switch (style.layout) {
    case Layout::Layer:
        first.layer = other.layer = true;
        other.volume = 84;
        other.chorusSend = 30;
        break;
    case Layout::Split:
        other.noteShift = 52; // the lower part one octave down
        other.pan = 56;
        break;
    case Layout::Arpeggio:
        first.arpeggio = true;
        other.volume = 70;
        break;
    case Layout::Multi: {
        other.channel = 1;
        other.pan = 54;
        const PresetVoice strings = PresetOfCategory(6, row);
        WritePart(memory, 0x02, {strings.code, strings.program, 2, 90, 74, 50, 20});
        WritePart(memory, 0x09, {bank::kPreDrum, program % 8, 9, 110, 64, 30, 0});
        break;
    }
    }
    WritePart(memory, 0x00, first);
    WritePart(memory, 0x01, other);
    CopyOut(memory, DumpType::Performance, image);
}

} // namespace

SoundBanks MakeFactoryBanks()
{
    SoundBanks banks;
    ParameterMemory memory;
    for (const int code : {bank::kPre1, bank::kPre2, bank::kInt, bank::kExt}) {
        std::array<int, 23> uses{};
        for (int program = 0; program < 128; ++program)
            MakeVoice(memory, code, program, uses, banks.MutableImage(code, program));
    }
    for (int program = 0; program < 8; ++program)
        MakeKit(memory, bank::kPreDrum, program, kPresetKitNames[static_cast<std::size_t>(program)],
                banks.MutableImage(bank::kPreDrum, program));
    for (int program = 0; program < 2; ++program) {
        MakeKit(memory, bank::kIntDrum, program, kIntKitNames[static_cast<std::size_t>(program)],
                banks.MutableImage(bank::kIntDrum, program));
        MakeKit(memory, bank::kExtDrum, program, kExtKitNames[static_cast<std::size_t>(program)],
                banks.MutableImage(bank::kExtDrum, program));
    }
    for (int program = 0; program < 128; ++program)
        MakePerformance(memory, bank::kIntPerf, program, banks.MutableImage(bank::kIntPerf, program));
    for (int program = 0; program < 64; ++program)
        MakePerformance(memory, bank::kExtPerf, program, banks.MutableImage(bank::kExtPerf, program));
    return banks;
}

std::vector<std::uint8_t> MakeInitialPerformanceImage()
{
    ParameterMemory memory;
    CommonSetting common;
    common.name = "Init Perf";
    WriteCommon(memory, common);
    // Each numbered part plays the first preset voice on its own channel;
    // AD, CL and the plug-in parts listen to nothing.
    for (const int index : part::kIndexes) {
        PartSetting setting;
        if (index < 16)
            setting.channel = index;
        WritePart(memory, index, setting);
    }
    const auto region = memory.Region(kPerformanceRegion);
    return {region.begin(), region.end()};
}

} // namespace cs6::sim
