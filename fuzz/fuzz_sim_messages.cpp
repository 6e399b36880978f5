// The emulated instrument on arbitrary incoming traffic: each message behind
// a length byte, handed to Receive in order, pacing off.
//
// Invariants on what it sends back: every SysEx message is a valid bulk dump
// or the identity reply, every other message a well-formed channel message;
// bulk dumps come as whole answers (a header, 32 or 372 blocks, the footer
// that matches the header), none left open; and it becomes idle.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

#include "fuzz/FuzzInput.h"
#include "sim/EmulatedInstrument.h"
#include "sim/FactoryContents.h"
#include "synth/SysExMessages.h"

namespace {

using namespace cs6;

bool IsChannelMessage(std::span<const std::uint8_t> m)
{
    if (m.empty() || m[0] < 0x80 || m[0] >= 0xF0)
        return false;
    const std::size_t length = (m[0] & 0xF0) == 0xC0 || (m[0] & 0xF0) == 0xD0 ? 2 : 3;
    return m.size() == length && std::all_of(m.begin() + 1, m.end(), [](std::uint8_t b) { return b < 0x80; });
}

// Follows the instrument's output; runs on its delivery thread.
class OutputCheck {
public:
    void Take(std::span<const std::uint8_t> m)
    {
        const std::lock_guard lock(mutex_);
        if (!m.empty() && m[0] == sysex::kSysExStart)
            TakeSysEx(m);
        else if (!IsChannelMessage(m))
            Fail("a message that is neither SysEx nor a channel message");
    }

    // The first problem seen, once the output has stopped.
    const char* Problem()
    {
        const std::lock_guard lock(mutex_);
        if (!problem_ && open_)
            return "a bulk answer without its footer";
        return problem_;
    }

private:
    struct Open {
        int mid;
        int low;
        std::size_t blocks = 0;
    };

    void TakeSysEx(std::span<const std::uint8_t> m)
    {
        if (std::equal(m.begin(), m.end(), sim::kIdentityReply.begin(), sim::kIdentityReply.end())) {
            if (open_)
                Fail("an identity reply inside a bulk answer");
            return;
        }
        if (!sysex::IsValidBulkDump(m))
            return Fail("a SysEx message that is neither a valid bulk dump nor the identity reply");
        const auto fields = sysex::ReadBulkDump(m);
        if (fields->high == block::kBulkHeader) {
            if (open_)
                Fail("a bulk header inside a bulk answer");
            open_ = Open{fields->mid, fields->low};
        } else if (fields->high == block::kBulkFooter) {
            if (!open_ || open_->mid != fields->mid || open_->low != fields->low)
                Fail("a bulk footer that does not close the open header");
            else if (open_->blocks != 32 && open_->blocks != 372)
                Fail("a bulk answer that is not a whole sound");
            open_.reset();
        } else if (!open_) {
            Fail("a bulk block outside a bulk answer");
        } else {
            ++open_->blocks;
        }
    }

    void Fail(const char* what)
    {
        if (!problem_)
            problem_ = what;
    }

    std::mutex mutex_;
    std::optional<Open> open_;
    const char* problem_ = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A fresh instrument for every input, so that a finding replays alone;
    // the factory contents are made once.
    static const sim::SoundBanks factory = sim::MakeFactoryBanks();
    OutputCheck check; // outlives the instrument, whose thread calls it
    sim::EmulatedInstrument instrument(sim::InstrumentOptions::ForUnitTests(), factory);
    instrument.SetTransmitSink([&check](std::span<const std::uint8_t> m) { check.Take(m); });
    for (const auto& message : fuzz::SplitMessages(std::span<const std::uint8_t>(data, size)))
        instrument.Receive(message);
    if (instrument.WaitUntilIdle(std::chrono::seconds(30)) != sim::WaitOutcome::Reached)
        fuzz::Violated("the instrument did not become idle");
    if (const char* problem = check.Problem())
        fuzz::Violated(problem);
    return 0;
}
