// Replies to a whole-sound request, as the receive thread would hand them
// over, applied to the parameter memory.
//
// Input: two bytes for the expected count (first byte's top bit set: as many
// as the batch holds; otherwise the 15-bit big-endian number), then the
// batch, each message behind a length byte.
//
// Invariants: the memory changes only when the outcome is Complete; Complete
// means exactly the expected number of replies, every one a valid bulk dump.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzInput.h"
#include "synth/SynthDevice.h"
#include "synth/SysExMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace cs6;
    if (size < 2)
        return 0;
    const std::span<const std::uint8_t> input(data, size);
    const auto batch = fuzz::SplitMessages(input.subspan(2));
    const std::size_t expected =
        (input[0] & 0x80) ? batch.size() : static_cast<std::size_t>((input[0] << 8) | input[1]);

    // One device for the whole run: its block directory is fixed, and every
    // run compares against its own copy of the image.
    static SynthDevice device;
    const auto before = device.Memory().image;
    const DumpOutcome outcome = device.ApplyReplies(batch, expected);

    if (outcome != DumpOutcome::Complete && device.Memory().image != before)
        fuzz::Violated("the memory changed although the batch was not applied");
    if (outcome == DumpOutcome::Complete) {
        if (batch.size() != expected)
            fuzz::Violated("a batch of the wrong size was applied");
        if (!std::all_of(batch.begin(), batch.end(), [](const auto& m) { return sysex::IsValidBulkDump(m); }))
            fuzz::Violated("a batch with an invalid bulk dump was applied");
        // The last data block was written last, so nothing covers it.
        const auto last = std::find_if(batch.rbegin(), batch.rend(),
                                       [](const auto& m) { return !sysex::ReadBulkDump(m)->IsHeaderOrFooter(); });
        if (last != batch.rend()) {
            const auto fields = sysex::ReadBulkDump(*last);
            const auto stored = device.Memory().Bytes(fields->Address(), fields->data.size());
            if (!std::equal(stored.begin(), stored.end(), fields->data.begin(), fields->data.end()))
                fuzz::Violated("a complete batch did not leave its last block in the memory");
        }
    }
    if (batch.empty() && outcome != DumpOutcome::NotAnswered)
        fuzz::Violated("an empty batch was not reported as not answered");
    return 0;
}
