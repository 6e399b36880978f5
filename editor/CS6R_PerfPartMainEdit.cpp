#include "editor/CS6R_PerfPartMainEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <variant>

#include "editor/BankLists.h"
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

constexpr std::array<FaderBinding, CS6R_PerfPartMainEdit::kFaderCount> kFaders = {{
    {kVolume, part::kVolume, FaderEncoding::Byte, 0, 127, 64},
    {kPan, part::kPan, FaderEncoding::Byte, 0, 127, 64},
    {kReverbSend, part::kReverbSend, FaderEncoding::Byte, 0, 127, 64},
    {kChorusSend, part::kChorusSend, FaderEncoding::Byte, 0, 127, 64},
    {kNoteShift, part::kNoteShift, FaderEncoding::Byte, 40, 88, 40, &shiftDetuneFormatter, 0}, // shown as -24..24
    {kDetune, part::kDetuneHigh, FaderEncoding::NibblePair, 0, 255, 0, &shiftDetuneFormatter, 1},
    {kVelocityDepth, part::kVelocityDepth, FaderEncoding::Byte, 0, 127, 64},
    {kVelocityOffset, part::kVelocityOffset, FaderEncoding::Byte, 0, 127, 64},
    {kPortamentoTime, part::kPortamentoTime, FaderEncoding::Byte, 0, 127, 64},
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
    {kMono, part::kPolyMode, 0, "poly", "mono"},
    {kLayer, part::kReceiveSwitches1, part::kLayerBit, "Layer on", "Layer off"},
    {kArp, part::kReceiveSwitches1, part::kArpeggioBit, "ARP on", "ARP off"},
    {kPortamento, part::kPortamento, 0, "Portamento on", "Portamento off"},
}};

const SwitchSetup& SwitchFor(int id)
{
    return *std::find_if(kSwitches.begin(), kSwitches.end(), [id](const SwitchSetup& s) { return s.id == id; });
}

} // namespace

CS6R_PerfPartMainEdit::CS6R_PerfPartMainEdit(QWidget* parent, SynthDevice* device, int part)
    : ParameterDialog(PerfPartMainTemplate(), parent, device), partIndex(part),
      watch_(*device, [this] { return PartBlockRegion(std::as_const(*synthDevice).Memory(), partIndex); },
             [this] { ShowMemory(false); })
{
    setObjectName(QStringLiteral("CS6R_PerfPartMainEdit"));
    FrameFlatSwitches(this);
    BindFaders(kFaders, block::kPart, partIndex);
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

    FillBankList(*bankCombo_);
    for (int channel = 1; channel <= 16; ++channel)
        receiveChannelCombo_->addItem(QString::number(channel));
    receiveChannelCombo_->addItem(QStringLiteral("off"));
    portamentoModeCombo_->addItems({QStringLiteral("fingered"), QStringLiteral("fulltime")});
    for (const OutputSelect& output : kOutputSelects)
        outputSelectCombo_->addItem(QString::fromLatin1(output.text));

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

void CS6R_PerfPartMainEdit::RefreshFromMemory() { ShowMemory(true); }

void CS6R_PerfPartMainEdit::ShowMemory(bool refillPrograms)
{
    Title()->setText(PartName(partIndex, PartNaming::StripTitle));

    // The bank from its LSB alone; an LSB of no listed bank leaves the choice.
    const int bank = bankCombo_->currentIndex();
    for (int row = kFirstListedBank; row <= kLastListedBank; ++row) {
        if (bankTable[static_cast<std::size_t>(row)].bankLsb == Part(part::kBankLsb))
            bankCombo_->setCurrentIndex(bankCombo_->findData(row));
    }
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

    SetFaderBlock(partIndex);
    ShowFaders();
}

void CS6R_PerfPartMainEdit::FillProgramList()
{
    const QVariant row = bankCombo_->currentData();
    // Before any bank is chosen there is no list to offer.
    if (!row.isValid()) {
        programCombo_->clear();
        return;
    }
    // No program chosen counts as out of range too, so a bank change never
    // stores "no program".
    cs6::FillProgramList(*programCombo_, bankTable[static_cast<std::size_t>(row.toInt())], true);
}

void CS6R_PerfPartMainEdit::EditPart(const void* control, EditGesture gesture,
                                     std::initializer_list<std::pair<int, std::uint8_t>> bytes)
{
    std::vector<ParameterWrite> writes;
    for (auto [low, byte] : bytes)
        writes.push_back({PartAddress(partIndex, low), {byte}});
    MakeEdit(EditHistory::Of(this), *synthDevice, control, gesture, std::move(writes));
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
