// The bank file and initial performance loaders on arbitrary bytes, and the
// user bank writer against what was loaded.
//
// Every run starts from empty collections, so for any input of n bytes:
//  - each loader reports Complete exactly when n reaches its file's size;
//  - written out again, its records give the input's first bytes and zeros
//    beyond n (a short file leaves the rest as it was);
//  - the initial performance is the input over a zero image, located 3F 4F 00.
// Inputs are far shorter than a bank file, so the same is checked once more
// on the input repeated to a whole preset or user bank file, or up to 8 bytes
// short of one (the first input byte says which): only there do the last
// records and Complete come into play. A whole user bank written out again
// at once must be the same bytes.
//
// Records are written out one at a time: a whole file at once would allocate
// a megabyte per run, and fresh pages are most of what a run would cost.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "synth/BankFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using cs6::DrumVoice;
using cs6::FileLoad;
using cs6::NormalVoice;

template <typename Sounds>
void Empty(Sounds& sounds)
{
    std::fill(sounds.begin(), sounds.end(), typename Sounds::value_type{});
}

// By memcmp: a byte loop under coverage instrumentation costs most of a run.
bool IsZero(std::span<const std::uint8_t> bytes)
{
    static const std::vector<std::uint8_t> zeros(cs6::kDrumVoiceRecordSize);
    return bytes.size() <= zeros.size() && std::memcmp(bytes.data(), zeros.data(), bytes.size()) == 0;
}

// Follows a file through its records in order and compares each, written out
// on its own, with the bytes a loader read it from.
class FileCheck {
public:
    explicit FileCheck(std::span<const std::uint8_t> input) : input_(input) {}

    template <typename Sound>
    FileCheck& Records(std::span<const Sound> sounds)
    {
        for (const Sound& sound : sounds) {
            const std::span<const Sound> one(&sound, 1);
            if constexpr (std::is_same_v<Sound, NormalVoice>)
                Compare(cs6::SerializeUserBank(one, {}));
            else
                Compare(cs6::SerializeUserBank({}, one));
        }
        return *this;
    }

    // Input bytes over zero records, and Complete exactly for a whole file.
    bool Holds(FileLoad load) const { return same_ && (load == FileLoad::Complete) == (input_.size() >= at_); }

private:
    void Compare(std::span<const std::uint8_t> record)
    {
        const std::size_t n = std::min(record.size(), input_.size() - std::min(at_, input_.size()));
        if (std::memcmp(record.data(), input_.data() + std::min(at_, input_.size()), n) != 0 ||
            !IsZero(record.subspan(n)))
            same_ = false;
        at_ += record.size();
    }

    std::span<const std::uint8_t> input_;
    std::size_t at_ = 0;
    bool same_ = true;
};

// The bank files as loaded, checked against the bytes they came from.
void CheckBankFiles(std::span<const std::uint8_t> input)
{
    using namespace cs6;
    Empty(presetBank1);
    Empty(presetBank2);
    Empty(presetDrums);
    Empty(internalBank);
    Empty(internalDrums);

    const FileLoad preset = LoadPresetBanksFromBytes(input);
    if (!FileCheck(input)
             .Records<NormalVoice>(presetBank1)
             .Records<NormalVoice>(presetBank2)
             .Records<DrumVoice>(presetDrums)
             .Holds(preset))
        fuzz::Violated("preset banks: not the input over empty records");

    const FileLoad user = LoadUserBankFromBytes(input, internalBank, internalDrums);
    if (!FileCheck(input).Records<NormalVoice>(internalBank).Records<DrumVoice>(internalDrums).Holds(user))
        fuzz::Violated("user bank: not the input over empty records");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace cs6;
    const std::span<const std::uint8_t> input(data, size);
    CheckBankFiles(input);

    const FileLoad initial = LoadInitialPerformanceFromBytes(input);
    const auto& image = initialPerformance.image;
    const std::size_t n = std::min(input.size(), image.size());
    if ((initial == FileLoad::Complete) != (input.size() >= image.size()) ||
        !std::equal(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n), image.begin()) ||
        !IsZero(std::span(image).subspan(n)) || initialPerformance.bankMsb != 0x3F ||
        initialPerformance.bankLsb != 0x4F || initialPerformance.program != 0)
        fuzz::Violated("initial performance: not the input over a zero image at 3F 4F 00");

    if (input.empty())
        return 0;
    static Bytes repeated(kPresetBankFileSize); // kept: fresh pages every run are slow
    const std::size_t cut = input[0] % 9;
    const std::size_t length = ((input[0] & 0x80) ? kPresetBankFileSize : kUserBankFileSize) - cut;
    for (std::size_t at = 0; at < length; at += input.size())
        std::memcpy(repeated.data() + at, input.data(), std::min(input.size(), length - at));
    const std::span<const std::uint8_t> file(repeated.data(), length);
    CheckBankFiles(file);
    if (length == kUserBankFileSize) {
        const Bytes written = SerializeUserBank(internalBank, internalDrums);
        if (!std::equal(file.begin(), file.end(), written.begin(), written.end()))
            fuzz::Violated("a whole user bank does not write back as it was read");
    }
    return 0;
}
