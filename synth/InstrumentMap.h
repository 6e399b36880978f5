#pragma once
// The instrument's fixed numbers, each named once: the three whole sounds,
// the high bytes of the address blocks, the edit buffers, the bank codes, the
// two switches, the parts and the parameters of a part block. The editor, the
// file code and the emulated instrument take them from here. (The byte
// counts of the blocks are listed once too, in BulkSequences.)
//
// Thread: constants only.

#include <array>
#include <cstdint>
#include <stdexcept>

namespace cs6 {

// The three whole sounds: what a whole-sound request asks for and what a
// bulk carries. Requests take it as a 32-bit value; any other value asks for
// a single block.
enum class DumpType : std::uint32_t {
    Performance = 1, // 34 messages
    NormalVoice = 2, // 34 messages
    DrumVoice = 3,   // 374 messages
};
inline constexpr std::array<DumpType, 3> kDumpTypes{DumpType::Performance, DumpType::NormalVoice,
                                                    DumpType::DrumVoice};

// High bytes of the address blocks.
namespace block {
inline constexpr int kArea00 = 0x00;           // the instrument's 00 area; no bulk carries it
inline constexpr int kSwitches = 0x0A;         // 0A 00 ss: the switches below
inline constexpr int kBulkHeader = 0x0E;       // 0E mm nn: bulk header, and every whole-sound request
inline constexpr int kBulkFooter = 0x0F;       // 0F mm nn: bulk footer
inline constexpr int kPerformance = 0x30;      // 30 00 common (name in bytes 0..9), 30 01 reverb, 30 02 chorus, ...
inline constexpr int kPart = 0x31;             // 31 pp: every parameter of part pp
inline constexpr int kPerformanceExtra = 0x32; // 32 00..03: four more blocks of the performance
inline constexpr int kVoice = 0x40;            // 40 mm: normal-voice common; 40 70 holds name and category
inline constexpr int kVoiceElement = 0x41;     // 41..44 e: the four blocks of element e
inline constexpr int kDrumVoice = 0x46;        // 46 mm: drum-voice common; 46 70 holds the name
inline constexpr int kDrumKey = 0x47;          // 47..4A k: the four blocks of drum key k
inline constexpr int kArea4C = 0x4C;           // the instrument's 4C area; no bulk carries it

inline constexpr int kReverb = 0x01; // mid byte of the reverb block in 30, 40 and 46
inline constexpr int kChorus = 0x02; // mid byte of the chorus block in 30, 40 and 46
inline constexpr int kName = 0x70;   // mid byte of the name block in 40 and 46

inline constexpr int kVoiceElements = 4; // e = 0..3
inline constexpr int kDrumKeys = 73;     // k = 0..72
} // namespace block

// The edit buffers: the mid byte that names each in a request and in a bulk
// header, the low byte being 00. A performance bound for the edit buffer is
// located 3F 4F 00 (bank select MSB, LSB, program).
inline constexpr int kPerformanceEditBuffer = 0x4F;
inline constexpr int kNormalVoiceEditBuffer = 0x0F;
inline constexpr int kDrumVoiceEditBuffer = 0x2F;

constexpr int EditBufferMid(DumpType type)
{
    switch (type) {
    case DumpType::Performance:
        return kPerformanceEditBuffer;
    case DumpType::NormalVoice:
        return kNormalVoiceEditBuffer;
    case DumpType::DrumVoice:
        return kDrumVoiceEditBuffer;
    }
    throw std::invalid_argument("not a whole-sound type");
}

// Bank codes: the bank select LSB of a stored sound, which is also the mid
// byte of its dump request and bulk header (the low byte being its program).
namespace bank {
inline constexpr int kStoredSoundMsb = 0x3F; // the bank select MSB of every bank below
inline constexpr int kPre1 = 0x00;
inline constexpr int kPre2 = 0x01;
inline constexpr int kInt = 0x08;
inline constexpr int kExt = 0x09;
inline constexpr int kPlg1 = 0x18;
inline constexpr int kPlg2 = 0x19;
inline constexpr int kPreDrum = 0x20;
inline constexpr int kIntDrum = 0x28;
inline constexpr int kExtDrum = 0x29;
inline constexpr int kIntPerf = 0x40;
inline constexpr int kExtPerf = 0x41;
inline constexpr int kClipKit = 0x68;
// The General MIDI banks: bank select MSB 00 (voices) or 7F (drums), LSB 00.
inline constexpr int kGmVoiceMsb = 0x00;
inline constexpr int kGmDrumMsb = 0x7F;
} // namespace bank

// The instrument's two switches (0A 00 ss), each pulsed on and off: the
// first before a sound is read from the instrument, the second after.
inline constexpr int kSwitchBeforeRead = 0x11;
inline constexpr int kSwitchAfterRead = 0x10;

// The parameters of the performance's common block 30 00: low bytes.
namespace common {
inline constexpr int kBlockMid = 0x00;
enum Parameter : int {
    kName = 0x00, // ten characters
    kCategory = 0x0C,
    kPhraseClipPitch = 0x0D,
    kMasterKeyboardMode = 0x0E,
    kSplitPoint = 0x0F,
    kLayerChannel = 0x10,
    kArpOutSwitch = 0x11,
    kArpOutChannel = 0x12,
    kArpType = 0x13,
    kArpSwitch = 0x14,
    kArpHold = 0x15,
    kArpUnit = 0x16,
    kArpNoteLow = 0x17,
    kArpNoteHigh = 0x18,
    kArpKeyMode = 0x19,
    kArpVelocityMode = 0x1A,
    kArpVelocityRate = 0x1B, // two bytes of 7 bits, the high one first
    kArpGateTime = 0x1D,     // the same
    kArpTempo = 0x1F,        // the same
    kVolume = 0x38,
    kInsEffectPart = 0x41,    // a part index, or part::kNone
    kInsEffectPlgPart = 0x42, // part::kPLG1, part::kPLG2 or part::kNone
    kInsPlgPart = 0x43,       // a part index, or part::kNone
};
} // namespace common

// The parts of a performance, by index: the mid byte of their part block.
// Parts 1..16 are 0x00..0x0F.
namespace part {
inline constexpr int kAD = 0x40;
inline constexpr int kCL = 0x50;
inline constexpr int kPLG1 = 0x60;
inline constexpr int kPLG2 = 0x61;
inline constexpr int kNone = 0x7F; // where a part is chosen: none
// All twenty, in the order a performance bulk sends their blocks.
inline constexpr std::array<int, 20> kIndexes{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                                              0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, kAD,  kCL,  kPLG1, kPLG2};

// The parameters of a part: low bytes inside its block 31 pp.
enum Parameter : int {
    kBankMsb = 0x00,
    kBankLsb = 0x01,
    kProgram = 0x02,
    kReceiveChannel = 0x03, // 0..15 for channels 1..16, kReceiveOff for none
    kPolyMode = 0x04,       // 0 mono, 1 poly
    kVelocityDepth = 0x0B,
    kVelocityOffset = 0x0C,
    kVolume = 0x0D,
    kPan = 0x0E,
    kDetuneHigh = 0x10, // detune 0..255 as two nibbles, the high one first
    kDetuneLow = 0x11,
    kReverbSend = 0x12,
    kChorusSend = 0x13,
    kNoteShift = 0x15, // 64 is no shift
    kCutoff = 0x16,
    kResonance = 0x17,
    kPortamento = 0x19, // 0 off, 1 on
    kPortamentoTime = 0x1A,
    kPortamentoMode = 0x1B, // 0 fingered, 1 full time
    kOutputSelect = 0x1C,
    kReceiveSwitches1 = 0x1D, // kLayerBit, kArpeggioBit; then receive bank, control, program, aftertouch, bend
    kReceiveSwitches2 = 0x1E, // receive volume, pan, sustain, modulation
    kReceiveSwitches3 = 0x1F, // receive foot controller, foot switch, ribbon, breath, knobs
    kEnvelopeSustain = 0x20,
    kEnvelopeAttack = 0x21,
    kEnvelopeDecay = 0x23,
    kEnvelopeRelease = 0x24,
};
inline constexpr std::uint8_t kLayerBit = 0x01;
inline constexpr std::uint8_t kArpeggioBit = 0x02;
inline constexpr int kReceiveOff = 16; // a stored 127 means none too
} // namespace part

} // namespace cs6
