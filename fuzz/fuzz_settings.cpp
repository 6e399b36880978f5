// The MIDI settings file on arbitrary bytes.
//
// Invariants, for any input of n bytes read over settings that were there
// before: the result is Loaded exactly when n reaches 51; written out again,
// the settings give the input's first bytes, and beyond n the old ones. So a
// 51-byte input goes round unchanged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzInput.h"
#include "fuzz/SampleSettings.h"
#include "midi/MidiSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace cs6;
    const std::span<const std::uint8_t> input(data, size);

    MidiSettings settings = fuzz::SampleSettings();
    const auto before = SerializeMidiSettings(settings);

    const SettingsLoad load = ParseMidiSettings(input, settings);
    const auto after = SerializeMidiSettings(settings);
    const std::size_t n = std::min(input.size(), kMidiSettingsSize);
    if ((load == SettingsLoad::Loaded) != (input.size() >= kMidiSettingsSize))
        fuzz::Violated("Loaded does not match the input's size");
    if (load == SettingsLoad::Missing)
        fuzz::Violated("bytes in memory reported as a missing file");
    if (!std::equal(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n), after.begin()))
        fuzz::Violated("the settings do not write back the bytes they were read from");
    if (!std::equal(before.begin() + static_cast<std::ptrdiff_t>(n), before.end(),
                    after.begin() + static_cast<std::ptrdiff_t>(n)))
        fuzz::Violated("a short file changed fields it did not reach");
    return 0;
}
