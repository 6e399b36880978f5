#include "sim/EmulatedInstrument.h"

#include <algorithm>
#include <utility>

#include "sim/FactoryContents.h"

namespace cs6::sim {
namespace {

constexpr std::uint8_t kChannel1Control = 0xB0;
constexpr std::uint8_t kChannel1Program = 0xC0;
constexpr std::uint8_t kBankSelectMsb = 0x00;
constexpr std::uint8_t kBankSelectLsb = 0x20;

bool IsSevenBit(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b < 0x80; });
}

// F0 7E xx 06 01 F7, any device byte.
bool IsIdentityRequest(std::span<const std::uint8_t> m)
{
    return m.size() == 6 && m[0] == 0xF0 && m[1] == 0x7E && m[2] < 0x80 && m[3] == 0x06 && m[4] == 0x01 &&
           m[5] == 0xF7;
}

// F0 43 sn 64 ... F7 with 7-bit bytes between.
bool IsOurSysEx(std::span<const std::uint8_t> m)
{
    return m.size() >= 5 && m[0] == sysex::kSysExStart && m[1] == sysex::kYamaha && m[3] == sysex::kModelCs6x &&
           m.back() == sysex::kSysExEnd && IsSevenBit(m.subspan(1, m.size() - 2));
}

// The scratch slot is shared by the switch, header and footer addresses; it
// holds nothing of the instrument's.
bool IsScratchArea(int high)
{
    return high == block::kSwitches || high == block::kBulkHeader || high == block::kBulkFooter;
}

std::optional<DumpType> EditBufferType(int mid)
{
    for (const DumpType type : kDumpTypes)
        if (EditBufferMid(type) == mid)
            return type;
    return std::nullopt;
}

// A location the instrument can store into and answer requests for.
std::optional<BankInfo> UserLocation(int code, int program)
{
    const auto info = SoundBanks::FindBank(code);
    if (!info || !info->writable || program < 0 || program >= info->programs)
        return std::nullopt;
    return info;
}

} // namespace

EmulatedInstrument::EmulatedInstrument(InstrumentOptions options) : EmulatedInstrument(options, MakeFactoryBanks()) {}

EmulatedInstrument::EmulatedInstrument(InstrumentOptions options, SoundBanks banks)
    : banks_(std::move(banks)), replyLatency_(options.replyLatency), keepLogs_(options.keepLogs),
      received_(options.keepLogs), transmitter_(options.pacing, options.keepLogs)
{
    // Power-on state: the first performance, voice and kit.
    LoadIntoEditBuffer(bank::kIntPerf, 0);
    LoadIntoEditBuffer(bank::kPre1, 0);
    LoadIntoEditBuffer(bank::kPreDrum, 0);
}

EmulatedInstrument::~EmulatedInstrument() = default;

void EmulatedInstrument::SetTransmitSink(TransmitSink sink) { transmitter_.SetSink(std::move(sink)); }

void EmulatedInstrument::Receive(std::span<const std::uint8_t> message)
{
    const std::lock_guard lock(mutex_);
    const Clock::time_point arrived = Clock::now();
    if (std::optional<Reply> reply = Handle(message, arrived))
        SendReply(std::move(*reply), arrived);
    // Logged once handled and answered, so whoever waits for it sees its
    // effect and finds its answer queued.
    received_.Append(arrived, message);
}

void EmulatedInstrument::SendReply(Reply reply, Clock::time_point arrived)
{
    if (reply.faultable && faults_) {
        const AnswerFaults faults = *faults_;
        if (faultScope_ == FaultScope::NextAnswer)
            faults_.reset();
        if (faults.noAnswer)
            return;
        reply.messages = ApplyFaults(std::move(reply.messages), faults);
    }
    transmitter_.Send(std::move(reply.messages), arrived + replyLatency_);
}

PanelOutcome EmulatedInstrument::SelectPerformance(PerformanceBank which, int number)
{
    const int code = which == PerformanceBank::Internal ? bank::kIntPerf : bank::kExtPerf;
    const std::lock_guard lock(mutex_);
    if (!UserLocation(code, number))
        return PanelOutcome::NoSuchPerformance;
    LoadIntoEditBuffer(code, number);
    transmitter_.Send(
        {sysex::BankSelectMsb(bank::kStoredSoundMsb), sysex::BankSelectLsb(code), sysex::ProgramChange(number)},
        Clock::now());
    return PanelOutcome::Selected;
}

void EmulatedInstrument::SetFaults(const AnswerFaults& faults, FaultScope scope)
{
    const std::lock_guard lock(mutex_);
    faults_ = faults;
    faultScope_ = scope;
}

void EmulatedInstrument::ClearFaults()
{
    const std::lock_guard lock(mutex_);
    faults_.reset();
}

std::vector<LoggedMessage> EmulatedInstrument::ReceivedMessages() const { return received_.Entries(); }

std::vector<LoggedMessage> EmulatedInstrument::TransmittedMessages() const
{
    return transmitter_.Delivered().Entries();
}

std::vector<SwitchEvent> EmulatedInstrument::SwitchEvents() const
{
    const std::lock_guard lock(mutex_);
    return switchEvents_;
}

void EmulatedInstrument::ClearLogs()
{
    const std::lock_guard lock(mutex_);
    received_.Clear();
    transmitter_.ClearDelivered();
    switchEvents_.clear();
}

WaitOutcome EmulatedInstrument::WaitForReceived(std::size_t count, Clock::duration timeout) const
{
    return received_.WaitForSize(count, timeout);
}

WaitOutcome EmulatedInstrument::WaitUntilIdle(Clock::duration timeout) const
{
    return transmitter_.WaitUntilIdle(timeout);
}

std::vector<std::uint8_t> EmulatedInstrument::EditBuffer(DumpType type) const
{
    const std::lock_guard lock(mutex_);
    const auto region = memory_.Region(BulkRegion(type));
    return {region.begin(), region.end()};
}

std::vector<std::uint8_t> EmulatedInstrument::ReadMemory(std::uint32_t address, std::size_t count) const
{
    const std::lock_guard lock(mutex_);
    const auto bytes = memory_.Bytes(address, count);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> EmulatedInstrument::StoredImage(int bankCode, int program) const
{
    const std::lock_guard lock(mutex_);
    const auto image = banks_.Image(bankCode, program);
    return {image.begin(), image.end()};
}

SoundBanks EmulatedInstrument::StoredSounds() const
{
    const std::lock_guard lock(mutex_);
    return banks_;
}

std::optional<EmulatedInstrument::Reply> EmulatedInstrument::Handle(std::span<const std::uint8_t> message,
                                                                     Clock::time_point time)
{
    if (message.empty())
        return std::nullopt;
    if (message[0] == sysex::kSysExStart) {
        if (IsIdentityRequest(message))
            return Reply{{sysex::Message(kIdentityReply.begin(), kIdentityReply.end())}, false};
        if (!IsOurSysEx(message))
            return std::nullopt;
        switch (message[2] & 0xF0) {
        case sysex::kDumpRequestStatus:
            return HandleDumpRequest(message);
        case sysex::kParameterChangeStatus:
            HandleParameterChange(message, time);
            return std::nullopt;
        case sysex::kBulkDumpStatus:
            HandleBulkDump(message);
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }
    HandleChannelMessage(message);
    return std::nullopt;
}

std::optional<EmulatedInstrument::Reply> EmulatedInstrument::HandleDumpRequest(std::span<const std::uint8_t> m)
{
    // F0 43 2n 64 0E mm nn F7
    if (m.size() != 8 || m[4] != block::kBulkHeader)
        return std::nullopt;
    const int mid = m[5];
    const int low = m[6];
    if (const auto type = EditBufferType(mid)) {
        if (low != 0)
            return std::nullopt;
        return Reply{BuildBulk(memory_, *type, mid, low), true};
    }
    const auto info = UserLocation(mid, low);
    if (!info)
        return std::nullopt;
    const auto image = banks_.Image(mid, low);
    std::copy(image.begin(), image.end(), scratch_.Region(BulkRegion(info->type)).begin());
    return Reply{BuildBulk(scratch_, info->type, mid, low), true};
}

void EmulatedInstrument::HandleParameterChange(std::span<const std::uint8_t> m, Clock::time_point time)
{
    // F0 43 1n 64 hh mm ll data... F7, at least one data byte.
    if (m.size() < 9)
        return;
    const int high = m[4];
    const int mid = m[5];
    const int low = m[6];
    const auto data = m.subspan(7, m.size() - 8);
    if (high == block::kSwitches && mid == 0 && (low == kSwitchAfterRead || low == kSwitchBeforeRead)) {
        if (keepLogs_)
            switchEvents_.push_back({time, low, data[0]});
        return;
    }
    const std::uint32_t address = PackAddress(high, mid, low);
    if (IsScratchArea(high) || !memory_.FitsInBlock(address, data.size()))
        return;
    std::copy(data.begin(), data.end(), memory_.Bytes(address, data.size()).begin());
}

void EmulatedInstrument::HandleBulkDump(std::span<const std::uint8_t> message)
{
    if (!sysex::IsValidBulkDump(message))
        return;
    const auto fields = sysex::ReadBulkDump(message);
    if (!fields)
        return;
    if (fields->high == block::kBulkHeader) {
        openBulk_ = OpenBulk{fields->mid, fields->low};
        return;
    }
    if (fields->high == block::kBulkFooter) {
        // Only a footer that closes the bulk its header opened stores anything.
        if (openBulk_ && openBulk_->mid == fields->mid && openBulk_->low == fields->low)
            StoreEditBuffer(fields->mid, fields->low);
        openBulk_.reset();
        return;
    }
    const auto count = static_cast<std::size_t>(fields->byteCount);
    if (count == 0 || IsScratchArea(fields->high) || !memory_.FitsInBlock(fields->Address(), count))
        return;
    std::copy(fields->data.begin(), fields->data.end(), memory_.Bytes(fields->Address(), count).begin());
}

void EmulatedInstrument::HandleChannelMessage(std::span<const std::uint8_t> m)
{
    if (m.size() == 3 && m[0] == kChannel1Control && IsSevenBit(m.subspan(1))) {
        if (m[1] == kBankSelectMsb)
            bankMsb_ = m[2];
        else if (m[1] == kBankSelectLsb)
            bankLsb_ = m[2];
        return;
    }
    // Only the instrument's own banks are selected; MSB 0 (GM voices) and
    // 7F (GM drums) are not modelled.
    if (m.size() == 2 && m[0] == kChannel1Program && m[1] < 0x80 && bankMsb_ == bank::kStoredSoundMsb)
        LoadIntoEditBuffer(bankLsb_, m[1]);
}

void EmulatedInstrument::LoadIntoEditBuffer(int bankCode, int program)
{
    const auto info = SoundBanks::FindBank(bankCode);
    if (!info || program < 0 || program >= info->programs)
        return;
    const auto image = banks_.Image(bankCode, program);
    std::copy(image.begin(), image.end(), memory_.Region(BulkRegion(info->type)).begin());
}

void EmulatedInstrument::StoreEditBuffer(int bankCode, int program)
{
    const auto info = UserLocation(bankCode, program);
    if (!info)
        return;
    const auto region = memory_.Region(BulkRegion(info->type));
    std::copy(region.begin(), region.end(), banks_.MutableImage(bankCode, program).begin());
}

std::vector<sysex::Message> EmulatedInstrument::ApplyFaults(std::vector<sysex::Message> messages,
                                                            const AnswerFaults& faults)
{
    if (faults.wrongChecksumAt && *faults.wrongChecksumAt < messages.size()) {
        sysex::Message& victim = messages[*faults.wrongChecksumAt];
        std::uint8_t& checksum = victim[victim.size() - 2];
        checksum = static_cast<std::uint8_t>((checksum + 1) & 0x7F);
    }
    if (faults.onlyFirst && *faults.onlyFirst < messages.size())
        messages.resize(*faults.onlyFirst);
    return messages;
}

} // namespace cs6::sim
