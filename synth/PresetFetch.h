#pragma once
// "Receive PRE patches": the instrument's own preset voices and kits into
// patches_pre.bnk, so that the program lists name the presets the instrument
// really holds rather than the file the program came with.
//
// The 264 presets (PRE1 and PRE2, 128 voices each, then the 8 PRE drum kits)
// are each selected on channel 1 (B0 00 3F, B0 20 lsb, C0 program) and read
// from the voice or kit edit buffer. The whole fetch is one read from the
// instrument between the two switch pulses (ReadBetweenSwitchPulses). The
// selections change what the instrument plays, so the editor's performance
// then goes back to it as "Transmit" sends it.
//
// The file (a temporary file renamed over it) and presetBank1, presetBank2
// and presetDrums change only when all 264 answered; otherwise both stay as
// they were. A fetch whose first two requests get no message at all is not
// asked further, nor one whose instrument falls silent part way.
//
// Thread: the user-interface thread, which the fetch blocks.

#include <filesystem>

#include "synth/BankFiles.h"

namespace cs6 {

// 128 + 128 voices and 8 kits.
inline constexpr int kPresetEntries = 264;

// Fetches the presets into folder's patches_pre.bnk; progress counts the 264
// requests and may stop the fetch between two of them. The receipt is
// labelled "PRE".
[[nodiscard]] BankReceipt ReceivePresetBanks(SynthDevice& device, const std::filesystem::path& folder,
                                             const FetchProgress& progress = {});

} // namespace cs6
