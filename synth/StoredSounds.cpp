#include "synth/StoredSounds.h"

#include <algorithm>
#include <cctype>

#include "synth/NameTables.h"
#include "synth/SysExMessages.h"

namespace cs6 {

std::array<NormalVoice, 128> presetBank1;
std::array<NormalVoice, 128> presetBank2;
std::array<DrumVoice, 8> presetDrums;
std::array<NormalVoice, 128> internalBank;
std::array<DrumVoice, 2> internalDrums;
std::array<NormalVoice, 128> externalBank;
std::array<DrumVoice, 2> externalDrums;
Performance initialPerformance;

namespace {

void SelectOnInstrument(SynthDevice& device, std::uint8_t msb, std::uint8_t lsb, std::uint8_t program)
{
    device.SendMessage(sysex::BankSelectMsb(msb));
    device.SendMessage(sysex::BankSelectLsb(lsb));
    device.SendMessage(sysex::ProgramChange(program));
}

template <std::size_t N>
void TakeRegion(const SynthDevice& device, MemoryRegion region, std::array<std::uint8_t, N>& image)
{
    const auto bytes = device.Memory().Region(region);
    std::copy(bytes.begin(), bytes.end(), image.begin());
}

template <std::size_t N>
void PutRegion(SynthDevice& device, MemoryRegion region, const std::array<std::uint8_t, N>& image)
{
    device.WriteRegion(region, image);
}

} // namespace

std::string StoredName(const std::uint8_t* tenBytes)
{
    std::string name;
    for (std::size_t i = 0; i < kNameLength && tenBytes[i] != 0; ++i)
        name.push_back(static_cast<char>(tenBytes[i]));
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
        name.pop_back();
    return name;
}

std::string NormalVoice::GetName() const { return StoredName(&image[kNameOffset]); }

std::string NormalVoice::GetCategoryCode() const { return std::string(CategoryCode(CategoryNumber())); }

DumpOutcome NormalVoice::RequestFromDevice(SynthDevice& device)
{
    DumpOutcome outcome;
    if (bankLsb == bank::kPre1 || bankLsb == bank::kPre2) {
        // The presets are fetched through the edit buffer.
        SelectOnInstrument(device, bankMsb, bankLsb, program);
        outcome = device.RequestEditBuffer(DumpType::NormalVoice);
    } else {
        outcome = device.RequestDump(block::kBulkHeader, bankLsb, program, DumpType::NormalVoice);
    }
    if (outcome == DumpOutcome::Complete)
        TakeRegion(device, kRegion, image);
    return outcome;
}

void NormalVoice::SendToDevice(SynthDevice& device) const
{
    PutRegion(device, kRegion, image);
    device.SendBulk(DumpType::NormalVoice, bankLsb, program);
}

std::string DrumVoice::GetName() const { return StoredName(&image[kNameOffset]); }

DumpOutcome DrumVoice::RequestFromDevice(SynthDevice& device)
{
    DumpOutcome outcome;
    if (bankLsb == bank::kPreDrum) {
        SelectOnInstrument(device, bankMsb, bankLsb, program);
        outcome = device.RequestEditBuffer(DumpType::DrumVoice);
    } else {
        outcome = device.RequestDump(block::kBulkHeader, bankLsb, program, DumpType::DrumVoice);
    }
    if (outcome == DumpOutcome::Complete)
        TakeRegion(device, kRegion, image);
    return outcome;
}

void DrumVoice::SendToDevice(SynthDevice& device) const
{
    PutRegion(device, kRegion, image);
    device.SendBulk(DumpType::DrumVoice, bankLsb, program);
}

std::string Performance::GetName() const { return StoredName(&image[kNameOffset]); }

DumpOutcome Performance::RequestFromDevice(SynthDevice& device)
{
    const DumpOutcome outcome = device.RequestDump(block::kBulkHeader, bankLsb, program, DumpType::Performance);
    if (outcome == DumpOutcome::Complete)
        TakeRegion(device, kRegion, image);
    return outcome;
}

void Performance::SendToDevice(SynthDevice& device) const
{
    PutRegion(device, kRegion, image);
    device.SendPerformance(bankMsb, bankLsb, program);
}

} // namespace cs6
