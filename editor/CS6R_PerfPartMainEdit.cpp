#include "editor/CS6R_PerfPartMainEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <variant>

#include "editor/CS6R_PerfPartEdit.h"
#include "editor/CS6R_PerfPartRecv.h"
#include "editor/FlatSwitchStyle.h"
#include "editor/PartBlock.h"
#include "resources/DialogTemplates.h"
#include "synth/NameTables.h"

namespace cs6 {

using namespace perf_part_main;

namespace {

constexpr int kReceiveChannelOff = 16; // list position of "off"
constexpr std::uint8_t kStoredChannelOff = 127;

// The bank list holds bankTable rows 2 to 10; the bank select LSB of each
// row, by list position.
constexpr int kFirstBankRow = kBankPre1;
constexpr int kLastBankRow = kBankExtDrum;
constexpr std::array<std::uint8_t, 9> kBankLsbs = {0, 1, 8, 9, 24, 25, 32, 40, 41};

struct OutputSelect {
    const char* text;
    std::uint8_t byte;
};
constexpr std::array<OutputSelect, 9> kOutputSelects = {{
    {"L&R", 0x00},
    {"ind 1&2", 0x08},
    {"ind 1", 0x40},
    {"ind 2", 0x41},
    {"ind 3", 0x42},
    {"ind 4", 0x43},
    {"ind 5", 0x44},
    {"ind 6", 0x45},
    {"drum", 0x7F},
}};

struct FaderSetup {
    int id;
    int low;
    int min, max, initial;
    int shiftDetuneMode; // -1: the fader's own decimal text
};
constexpr std::array<FaderSetup, CS6R_PerfPartMainEdit::kFaderCount> kFaders = {{
    {kVolume, 0x0D, 0, 127, 64, -1}, // volume
    {kPan, 0x0E, 0, 127, 64, -1}, // pan
    {kReverbSend, 0x12, 0, 127, 64, -1}, // reverb send
    {kChorusSend, 0x13, 0, 127, 64, -1}, // chorus send
    {kNoteShift, 0x15, 40, 88, 40, 0},  // note shift, 40..88 shown as -24..24
    {kDetune, 0x10, 0, 255, 0, 1},   // detune: high nibble at 0x10, low nibble at 0x11
    {kVelocityDepth, 0x0B, 0, 127, 64, -1}, // velocity sensitivity depth
    {kVelocityOffset, 0x0C, 0, 127, 64, -1}, // velocity sensitivity offset
    {kPortamentoTime, 0x1A, 0, 127, 64, -1}, // portamento time
}};

// A mode switch: checked when its bits are set (mask 0: when the byte is not 0).
struct SwitchSetup {
    int id;
    int low;
    std::uint8_t mask;
    const char* on;
    const char* off;
};
constexpr std::array<SwitchSetup, 4> kSwitches = {{
    {kMono, 0x04, 0, "poly", "mono"},
    {kLayer, 0x1D, 0x01, "Layer on", "Layer off"},
    {kArp, 0x1D, 0x02, "ARP on", "ARP off"},
    {kPortamento, 0x19, 0, "Portamento on", "Portamento off"},
}};

const SwitchSetup& SwitchFor(int id)
{
    return *std::find_if(kSwitches.begin(), kSwitches.end(), [id](const SwitchSetup& s) { return s.id == id; });
}

// One program list entry: the 1-based number, with the stored sound's
// category code and name for normal-voice banks and its name for drum banks.
QString ProgramText(int row, const BankEntry& bank, int number)
{
    // Stored names are single bytes, whatever their top bit.
    const QString shown = QString::number(number);
    if (row >= kBankPre1 && row <= kBankExt) {
        if (const NormalVoice* voice = bank.NormalVoiceAt(number - 1))
            return QStringLiteral("%1  %2:  %3")
                .arg(shown, QString::fromLatin1(voice->GetCategoryCode()), QString::fromLatin1(voice->GetName()));
    } else if (row >= kBankPreDrum && row <= kBankExtDrum) {
        if (const DrumVoice* kit = bank.DrumVoiceAt(number - 1))
            return QStringLiteral("%1  %2").arg(shown, QString::fromLatin1(kit->GetName()));
    }
    return shown;
}

} // namespace

CS6R_PerfPartMainEdit::CS6R_PerfPartMainEdit(QWidget* parent, SynthDevice* device, int part)
    : TemplateDialog(PerfPartMainTemplate(), parent), synthDevice(device), partIndex(part),
      history_(EditHistory::Of(parent)),
      watch_(*device, [this] { return PartBlockRegion(std::as_const(*synthDevice).Memory(), partIndex); },
             [this] { ShowMemory(false); })
{
    setObjectName(QStringLiteral("CS6R_PerfPartMainEdit"));
    FrameFlatSwitches(this);
    for (std::size_t i = 0; i < faders_.size(); ++i) {
        auto* fader = new FaderControl(this);
        ReplaceControl(kFaders[i].id, fader);
        faders_[i] = fader;
    }
    InitDialog();
    ConnectHandlers();
}

QPushButton* CS6R_PerfPartMainEdit::Button(int id) const { return ControlAs<QPushButton>(id); }

QLabel* CS6R_PerfPartMainEdit::Title() const { return ControlAs<QLabel>(kTitle); }

void CS6R_PerfPartMainEdit::InitDialog()
{
    bankCombo_ = ControlAs<QComboBox>(kBank);
    programCombo_ = ControlAs<QComboBox>(kProgram);
    receiveChannelCombo_ = ControlAs<QComboBox>(kReceiveChannel);
    portamentoModeCombo_ = ControlAs<QComboBox>(kPortamentoMode);
    outputSelectCombo_ = ControlAs<QComboBox>(kOutputSelect);
    // Typed text never becomes a program: only the listed ones can be chosen.
    programCombo_->setInsertPolicy(QComboBox::NoInsert);

    for (int row = kFirstBankRow; row <= kLastBankRow; ++row)
        bankCombo_->addItem(QString::fromStdString(bankTable[static_cast<std::size_t>(row)].name), row);
    for (int channel = 1; channel <= 16; ++channel)
        receiveChannelCombo_->addItem(QString::number(channel));
    receiveChannelCombo_->addItem(QStringLiteral("off"));
    portamentoModeCombo_->addItems({QStringLiteral("fingered"), QStringLiteral("fulltime")});
    for (const OutputSelect& output : kOutputSelects)
        outputSelectCombo_->addItem(QString::fromLatin1(output.text));

    for (int index = 0; index < kFaderCount; ++index) {
        const FaderSetup& setup = kFaders[static_cast<std::size_t>(index)];
        FaderControl* fader = Fader(index);
        fader->SetVerticalPosition(0);
        fader->SetScrollSizes(-1, -1);
        fader->SetRange(setup.min, setup.max, setup.initial);
        fader->notifyTarget = this;
        fader->dragMessage = kFaderDragMessage;
        fader->releaseMessage = kFaderReleaseMessage;
        fader->notifyWParam = static_cast<quintptr>(index);
        fader->notifyLParam = 0;
        fader->SetValue(setup.initial);
        SetFaderValue(index);
        if (setup.shiftDetuneMode >= 0)
            fader->SetFormatter(&shiftDetuneFormatter, setup.shiftDetuneMode);
    }
}

void CS6R_PerfPartMainEdit::ConnectHandlers()
{
    for (const SwitchSetup& s : kSwitches)
        connect(Button(s.id), &QPushButton::clicked, this, [this, id = s.id] { OnSwitch(id); });
    connect(bankCombo_, &QComboBox::activated, this, &CS6R_PerfPartMainEdit::OnBankChange);
    connect(programCombo_, &QComboBox::activated, this, &CS6R_PerfPartMainEdit::OnProgram);
    connect(receiveChannelCombo_, &QComboBox::activated, this, &CS6R_PerfPartMainEdit::OnReceiveChannel);
    connect(outputSelectCombo_, &QComboBox::activated, this, &CS6R_PerfPartMainEdit::OnOutputSelect);
    connect(portamentoModeCombo_, &QComboBox::activated, this, &CS6R_PerfPartMainEdit::OnPortamentoMode);
    connect(Button(kQuickEdit), &QPushButton::clicked, this, &CS6R_PerfPartMainEdit::OnQuickEdit);
    connect(Button(kReceiveSwitches), &QPushButton::clicked, this, &CS6R_PerfPartMainEdit::OnReceiveSwitches);
    // "Range", "S", "Prt time" and typing in the program field do nothing.
}

// The fader's address for partIndex and its value from the memory, set only
// when it changed: the fader being dragged keeps its anchor.
void CS6R_PerfPartMainEdit::SetFaderValue(int index)
{
    const int low = kFaders[static_cast<std::size_t>(index)].low;
    faderAddresses_[static_cast<std::size_t>(index)] = PartAddress(partIndex, low);
    const int value = index == kDetuneFader ? Part(part::kDetuneHigh) * 16 + Part(part::kDetuneHigh + 1) : Part(low);
    if (Fader(index)->Value() != value) {
        Fader(index)->SetValue(value);
        Fader(index)->repaint();
    }
}

void CS6R_PerfPartMainEdit::RefreshFromMemory() { ShowMemory(true); }

void CS6R_PerfPartMainEdit::ShowMemory(bool refillPrograms)
{
    QString title = QStringLiteral("PART %1").arg(partIndex + 1);
    switch (partIndex) {
    case kPartAD:
        title = QStringLiteral("PART AD");
        break;
    case kPartCL:
        title = QStringLiteral("PART CL");
        break;
    case kPartPLG1:
        title = QStringLiteral("PRTPLG1");
        break;
    case kPartPLG2:
        title = QStringLiteral("PRTPLG2");
        break;
    default:
        break;
    }
    Title()->setText(title);

    // The bank from its LSB alone; an LSB of no listed bank leaves the choice.
    const int bank = bankCombo_->currentIndex();
    const auto lsb = std::find(kBankLsbs.begin(), kBankLsbs.end(), Part(part::kBankLsb));
    if (lsb != kBankLsbs.end())
        bankCombo_->setCurrentIndex(static_cast<int>(lsb - kBankLsbs.begin()));
    if (refillPrograms || bankCombo_->currentIndex() != bank || programCombo_->count() == 0)
        FillProgramList();
    // Out-of-range positions select nothing.
    programCombo_->setCurrentIndex(Part(part::kProgram));
    const std::uint8_t channel = Part(part::kReceiveChannel);
    receiveChannelCombo_->setCurrentIndex(channel == kStoredChannelOff ? kReceiveChannelOff : channel);

    const std::uint8_t output = Part(part::kOutputSelect);
    const auto known = std::find_if(kOutputSelects.begin(), kOutputSelects.end(),
                                    [output](const OutputSelect& o) { return o.byte == output; });
    if (known != kOutputSelects.end())
        outputSelectCombo_->setCurrentIndex(static_cast<int>(known - kOutputSelects.begin()));
    portamentoModeCombo_->setCurrentIndex(Part(part::kPortamentoMode));

    for (const SwitchSetup& s : kSwitches) {
        const std::uint8_t byte = Part(s.low);
        QPushButton* button = Button(s.id);
        button->setChecked(s.mask ? (byte & s.mask) != 0 : byte != 0);
        button->setText(QString::fromLatin1(button->isChecked() ? s.on : s.off));
    }

    for (int index = 0; index < kFaderCount; ++index)
        SetFaderValue(index);
}

void CS6R_PerfPartMainEdit::FillProgramList()
{
    const QVariant row = bankCombo_->currentData();
    const int position = programCombo_->currentIndex();
    programCombo_->clear();
    // Before any bank is chosen there is no list to offer.
    if (!row.isValid())
        return;
    const BankEntry& bank = bankTable[static_cast<std::size_t>(row.toInt())];
    for (int number = 1; number <= bank.lastProgram + 1; ++number)
        programCombo_->addItem(ProgramText(row.toInt(), bank, number));
    // No program chosen counts as out of range too, so a bank change never
    // stores "no program".
    programCombo_->setCurrentIndex(position < 0 || position > bank.lastProgram ? 0 : position);
}

void CS6R_PerfPartMainEdit::EditPart(const void* control, EditGesture gesture,
                                     std::initializer_list<std::pair<int, std::uint8_t>> bytes)
{
    std::vector<ParameterWrite> writes;
    for (auto [low, byte] : bytes)
        writes.push_back({PartAddress(partIndex, low), {byte}});
    MakeEdit(history_, *synthDevice, control, gesture, std::move(writes));
}

void CS6R_PerfPartMainEdit::OnBankChange()
{
    const HoldPostedMessages hold;
    FillProgramList();
    const BankEntry& bank = bankTable[static_cast<std::size_t>(bankCombo_->currentData().toInt())];
    EditPart(bankCombo_, EditGesture::Single,
             {{part::kBankMsb, bank.bankMsb},
              {part::kBankLsb, bank.bankLsb},
              {part::kProgram, static_cast<std::uint8_t>(std::max(programCombo_->currentIndex(), 0))}});
}

void CS6R_PerfPartMainEdit::OnProgram()
{
    const HoldPostedMessages hold;
    const int position = programCombo_->currentIndex();
    if (position < 0)
        return;
    EditPart(programCombo_, EditGesture::Single, {{part::kProgram, static_cast<std::uint8_t>(position)}});
}

void CS6R_PerfPartMainEdit::OnReceiveChannel()
{
    const HoldPostedMessages hold;
    EditPart(receiveChannelCombo_, EditGesture::Single,
             {{part::kReceiveChannel, static_cast<std::uint8_t>(receiveChannelCombo_->currentIndex())}});
}

// A position outside the table sends the byte as it is.
void CS6R_PerfPartMainEdit::OnOutputSelect()
{
    const HoldPostedMessages hold;
    const int position = outputSelectCombo_->currentIndex();
    std::uint8_t byte = Part(part::kOutputSelect);
    if (position >= 0 && position < static_cast<int>(kOutputSelects.size()))
        byte = kOutputSelects[static_cast<std::size_t>(position)].byte;
    EditPart(outputSelectCombo_, EditGesture::Single, {{part::kOutputSelect, byte}});
}

void CS6R_PerfPartMainEdit::OnPortamentoMode()
{
    const HoldPostedMessages hold;
    EditPart(portamentoModeCombo_, EditGesture::Single,
             {{part::kPortamentoMode, static_cast<std::uint8_t>(portamentoModeCombo_->currentIndex())}});
}

void CS6R_PerfPartMainEdit::OnSwitch(int id)
{
    const HoldPostedMessages hold;
    const SwitchSetup& s = SwitchFor(id);
    QPushButton* button = Button(id);
    const bool on = button->isChecked();
    button->setText(QString::fromLatin1(on ? s.on : s.off));
    std::uint8_t byte = Part(s.low);
    if (s.mask == 0)
        byte = on ? 1 : 0;
    else if (on)
        byte = static_cast<std::uint8_t>(byte | s.mask);
    else
        byte = static_cast<std::uint8_t>(byte & ~s.mask);
    EditPart(button, EditGesture::Single, {{s.low, byte}});
}

void CS6R_PerfPartMainEdit::OnFaderNotify(int index, EditGesture gesture)
{
    if (index < 0 || index >= kFaderCount)
        return;
    const auto value = static_cast<std::uint8_t>(static_cast<int>(Fader(index)->Value()));
    std::vector<std::uint8_t> bytes{value};
    if (index == kDetuneFader)
        bytes = {static_cast<std::uint8_t>(value >> 4), static_cast<std::uint8_t>(value & 0x0F)};
    MakeEdit(history_, *synthDevice, Fader(index), gesture,
             {{faderAddresses_[static_cast<std::size_t>(index)], std::move(bytes)}});
}

void CS6R_PerfPartMainEdit::OnPostedMessage(const PostedMessageEvent& message)
{
    if (message.Message() == kFaderDragMessage)
        OnFaderNotify(static_cast<int>(message.WParam()), EditGesture::Moving);
    else if (message.Message() == kFaderReleaseMessage)
        OnFaderNotify(static_cast<int>(message.WParam()), EditGesture::Done);
}

void CS6R_PerfPartMainEdit::OnQuickEdit()
{
    CS6R_PerfPartEdit dialog(this, synthDevice, partIndex);
    dialog.exec();
}

void CS6R_PerfPartMainEdit::OnReceiveSwitches()
{
    CS6R_PerfPartRecv dialog(this, synthDevice, partIndex);
    dialog.exec();
}

} // namespace cs6
