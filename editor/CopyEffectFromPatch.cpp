// "Copy Reverb from patch" and "Copy Chorus from patch" of the main window.
#include <QDialog>

#include <algorithm>
#include <span>
#include <string>
#include <utility>

#include "editor/CS6R_PerfMainEdig.h"
#include "editor/PatchSelectDlg.h"
#include "framework/BusyCursor.h"
#include "framework/UserMessage.h"
#include "synth/NameTables.h"
#include "synth/StoredSounds.h"

namespace cs6 {
namespace {

// An effect's block: the same mid byte in the performance (30 mm), in a
// normal voice (40 mm) and in a drum voice (46 mm). The copy takes the
// performance block's bulk size from byte 0.
struct EffectBlock {
    int mid;
    int count;
};
constexpr EffectBlock kReverbBlock{block::kReverb, 24};
constexpr EffectBlock kChorusBlock{block::kChorus, 25};

// Clears "Detect manual perf. chg." while it lives, so that the instrument's
// messages during the choice start no request, then puts it back as it was.
class DetectionPause {
public:
    explicit DetectionPause(CS6R_PerfMainEdig& dialog) : dialog_(dialog), wasOn_(dialog.DetectManualChange())
    {
        dialog_.SetDetectManualChange(false);
    }
    ~DetectionPause() { dialog_.SetDetectManualChange(wasOn_); }
    DetectionPause(const DetectionPause&) = delete;
    DetectionPause& operator=(const DetectionPause&) = delete;

private:
    CS6R_PerfMainEdig& dialog_;
    bool wasOn_;
};

// Fetches the sound as one bracketed read and, when the whole answer came,
// copies its effect block into the performance's.
template <typename Sound>
DumpOutcome FetchAndCopy(SynthDevice& device, Sound sound, int soundHigh, const EffectBlock& effect)
{
    return ReadBetweenSwitchPulses(device, [&] {
        const DumpOutcome outcome = sound.RequestFromDevice(device);
        if (outcome == DumpOutcome::Complete) {
            // The block's place in the image is its place in the memory less
            // the start of the sound's region.
            const ParameterMemory& memory = std::as_const(device).Memory();
            const std::size_t offset = *memory.BlockOffset(MakeBlockKey(soundHigh, effect.mid)) - Sound::kRegion.offset;
            device.Write(PackAddress(block::kPerformance, effect.mid, 0),
                         std::span(sound.image).subspan(offset, static_cast<std::size_t>(effect.count)));
        }
        return outcome;
    });
}

} // namespace

void CS6R_PerfMainEdig::CopyEffectFromPatch(Effect effect)
{
    const EffectBlock& effectBlock = effect == Effect::Reverb ? kReverbBlock : kChorusBlock;
    DetectionPause detection(*this);

    PatchSelectDlg select(this);
    if (select.exec() != QDialog::Accepted)
        return;
    const int row = select.selectedBank;
    const int program = select.selectedProgram;
    // The dialog accepts only a fetchable bank and one of its programs.
    if (row < kBankPre1 || row > kBankExtDrum || program < 0 ||
        program > bankTable[static_cast<std::size_t>(row)].lastProgram)
        return;
    const BankEntry& bank = bankTable[static_cast<std::size_t>(row)];
    const auto number = static_cast<std::uint8_t>(program);

    // The instrument's messages that arrive from here on are handled once the
    // copy is over and detection is back as it was.
    const HoldPostedMessages hold;
    DumpOutcome outcome = DumpOutcome::NotAnswered;
    history_->ReplacePerformance([&] {
        BusyCursor busy;
        outcome = row <= kBankPlg2 ? FetchAndCopy(*synthDevice, NormalVoice(bank.bankMsb, bank.bankLsb, number),
                                                  block::kVoice, effectBlock)
                                   : FetchAndCopy(*synthDevice, DrumVoice(bank.bankMsb, bank.bankLsb, number),
                                                  block::kDrumVoice, effectBlock);
        if (outcome != DumpOutcome::Complete)
            return false;
        synthDevice->SendPerformance(bank::kStoredSoundMsb, kPerformanceEditBuffer, 0x00);
        return true;
    });
    if (outcome != DumpOutcome::Complete) {
        ShowMessageBox("The instrument did not answer as expected when asked for " + bank.name + " " +
                       std::to_string(program + 1) + " (" + DumpOutcomeText(outcome) +
                       "). Nothing was copied and nothing was sent.");
        return;
    }
    RefreshFromMemory();
}

} // namespace cs6
