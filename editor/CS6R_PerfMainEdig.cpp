#include "editor/CS6R_PerfMainEdig.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "editor/CS6R_PartMatrix.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "framework/BusyCursor.h"
#include "framework/FileIo.h"
#include "framework/UserMessage.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSetupDlg.h"
#include "resources/DialogTemplates.h"
#include "synth/BankFiles.h"
#include "synth/BulkSequences.h"
#include "synth/NameTables.h"
#include "synth/StoredSounds.h"

namespace cs6 {

using namespace perf_main;

bool nameWriteInProgress = false;

namespace {

using namespace std::chrono_literals;

struct FaderSetup {
    int id;
    int low;
    int min, max, initial;
    bool twoBytes;
    const ValueFormatter* formatter; // null: the fader's own decimal text
};

const std::array<FaderSetup, CS6R_PerfMainEdig::kFaderCount> kFaders = {{
    {kVolume, 0x38, 0, 127, 64, false, nullptr},                 // Vol
    {kArpVelocityRate, 0x1B, 0, 200, 0, true, nullptr},                   // ARP VelRate
    {kArpGateTime, 0x1D, 0, 200, 0, true, nullptr},                   // ARP gate time
    {kArpTempo, 0x1F, 25, 300, 25, true, nullptr},                 // ARP tempo
    {kArpNoteLow, 0x17, 0, 127, 64, false, &noteNameFormatter},      // ARP note low
    {kArpNoteHigh, 0x18, 0, 127, 64, false, &noteNameFormatter},      // ARP note high
    {kPhraseClipPitch, 0x0D, 0, 127, 64, false, &bipolarFormatter},       // Phrase clip pitch
    {kSplitPoint, 0x0F, 0, 127, 64, false, &noteNameFormatter},      // Master keyboard split point
}};

// The combo boxes, their byte in 30 00 and their items.
struct ComboSetup {
    int id;
    int low;
};
constexpr std::array<ComboSetup, 12> kCombos = {{
    {kCategory, 0x0C}, {kLayerChannel, 0x10}, {kInsEffectPart, 0x41}, {kInsEffectPlgPart, 0x42}, {kInsPlgPart, 0x43}, {kMasterKeyboardMode, 0x0E},
    {kArpType, 0x13}, {kArpKeyMode, 0x19}, {kArpVelocityMode, 0x1A}, {kArpOutChannel, 0x12}, {kArpHold, 0x15}, {kArpUnit, 0x16},
}};

// Insertion-effect part lists: list A (parts 1..16, AD, CL) and list B (PLG1, PLG2).
bool IsPartListA(int id) { return id == kInsEffectPart || id == kInsPlgPart; }

std::uint8_t PartListAByte(int index)
{
    switch (index) {
    case 16:
        return 0x40;
    case 17:
        return 0x50;
    case 18:
        return 0x7F;
    default:
        return static_cast<std::uint8_t>(index);
    }
}

int PartListAIndex(std::uint8_t byte)
{
    if (byte < 0x10)
        return byte;
    switch (byte) {
    case 0x40:
        return 16;
    case 0x50:
        return 17;
    case 0x7F:
        return 18;
    default:
        return -1;
    }
}

std::uint8_t PartListBByte(int index) { return index == 0 ? 0x60 : index == 1 ? 0x61 : 0x7F; }

int PartListBIndex(std::uint8_t byte) { return byte == 0x60 ? 0 : byte == 0x61 ? 1 : byte == 0x7F ? 2 : -1; }

// The character the instrument can show for one typed in the name field.
char NameCharacter(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x20 || code >= 0x80)
        return ' ';
    if (code == 0x7F)
        return '~';
    return static_cast<char>(code);
}

// The ten bytes a name field's text is stored as, padded with spaces.
std::vector<std::uint8_t> NameBytes(const QString& text)
{
    std::vector<std::uint8_t> name(kNameLength);
    for (qsizetype i = 0; i < static_cast<qsizetype>(kNameLength); ++i)
        name[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i < text.size() ? NameCharacter(text[i]) : ' ');
    return name;
}

constexpr std::uint32_t kNameAddress = PackAddress(0x30, 0x00, 0x00);

} // namespace

void CS6R_PerfMainEdig::ShortMessagePoster::PostShortMessage(std::uint8_t status, std::uint8_t data)
{
    PostUserMessage(dialog_, kShortMessageNotify, status, data);
}

CS6R_PerfMainEdig::CS6R_PerfMainEdig(QWidget* parent, SynthDevice* device)
    : TemplateDialog(PerfMainTemplate(), parent), synthDevice(device), history_(new EditHistory(*device, this)),
      watch_(*device, [] { return BulkRegion(DumpType::Performance); }, [this] { ShowMemory(); })
{
    setObjectName(QStringLiteral("CS6R_PerfMainEdig"));
    for (int i = 0; i < kFaderCount; ++i) {
        auto* fader = new FaderControl(this);
        ReplaceControl(kFaders[static_cast<std::size_t>(i)].id, fader);
        faders_[static_cast<std::size_t>(i)] = fader;
    }
    SetUpFaders();
    NameEdit()->setMaxLength(10);
    connect(&history_->Stack(), &QUndoStack::cleanChanged, this, &CS6R_PerfMainEdig::RefreshTitle);
}

CS6R_PerfMainEdig::~CS6R_PerfMainEdig()
{
    // The receive thread must not post to a window that is gone.
    replyCollector.SetNotifyTarget(nullptr);
    // The history goes with the base class and says it is clean as it goes,
    // when this window's part of the object no longer exists.
    disconnect(&history_->Stack(), nullptr, this, nullptr);
}

QComboBox* CS6R_PerfMainEdig::Combo(int id) const { return ControlAs<QComboBox>(id); }
QLineEdit* CS6R_PerfMainEdig::NameEdit() const { return ControlAs<QLineEdit>(kName); }
QPushButton* CS6R_PerfMainEdig::Button(int id) const { return ControlAs<QPushButton>(id); }

bool CS6R_PerfMainEdig::DetectManualChange() const { return Button(kDetectManualChange)->isChecked(); }

void CS6R_PerfMainEdig::SetDetectManualChange(bool on) { Button(kDetectManualChange)->setChecked(on); }

int CS6R_PerfMainEdig::RunModal()
{
    if (!InitDialog())
        return QDialog::Rejected;
    return exec();
}

bool CS6R_PerfMainEdig::InitDialog()
{
    if (!inputOpen || !outputOpen) {
        ShowMessageBox("Current MIDI configuration is not valid. Please specify MIDI ports!");
        MidiSetupDlg setup(nullptr);
        setup.exec();
    }
    if (!inputOpen || !outputOpen) {
        ShowMessageBox("Required MIDI ports not specified. Exiting...");
        return false;
    }

    // Start-up sequence: volume down, read switch, volume up, the switch after
    // reading, then the current performance.
    const HoldPostedMessages hold;
    (void)outputPort->SendHexString("B0 07 00", 0);
    synthDevice->Wait(50ms);
    SwitchPulse(*synthDevice, kSwitchBeforeRead);
    (void)outputPort->SendHexString("B0 07 7F", 0);
    SwitchPulse(*synthDevice, kSwitchAfterRead);
    (void)synthDevice->RequestEditBuffer(DumpType::Performance);

    FillCombos();
    CreatePartDialogs();
    ConnectHandlers();
    history_->AddShortcuts(this);
    SetDetectManualChange(true);
    RefreshFromMemory();
    replyCollector.SetNotifyTarget(&poster_);
    return true;
}

void CS6R_PerfMainEdig::FillCombos()
{
    for (const auto& name : categoryNames)
        Combo(kCategory)->addItem(QString::fromStdString(name));
    for (int id : {kLayerChannel, kArpOutChannel}) {
        for (int channel = 1; channel <= 16; ++channel)
            Combo(id)->addItem(QString::number(channel));
    }
    Combo(kLayerChannel)->addItem(QStringLiteral("BasicCh"));
    Combo(kArpOutChannel)->addItem(QStringLiteral("kbd-ch"));
    for (int id : {kInsEffectPart, kInsPlgPart}) {
        for (int part = 1; part <= 16; ++part)
            Combo(id)->addItem(QStringLiteral("Part %1").arg(part));
        Combo(id)->addItems({QStringLiteral("PartAD"), QStringLiteral("PartCL"), QStringLiteral("off")});
    }
    Combo(kInsEffectPlgPart)->addItems({QStringLiteral("PartP1"), QStringLiteral("PartP2"), QStringLiteral("off")});
    Combo(kMasterKeyboardMode)->addItems({QStringLiteral("split"), QStringLiteral("4zone"), QStringLiteral("layer")});
    for (int value = 0; value <= 127; ++value)
        Combo(kArpType)->addItem(QString::number(value));
    Combo(kArpKeyMode)->addItems({QStringLiteral("sort"), QStringLiteral("thru"), QStringLiteral("direct")});
    Combo(kArpVelocityMode)->addItems({QStringLiteral("original"), QStringLiteral("thru")});
    Combo(kArpHold)->addItems({QStringLiteral("sync-off"), QStringLiteral("off"), QStringLiteral("on")});
    Combo(kArpUnit)->addItems({QStringLiteral("50%"), QStringLiteral("66%"), QStringLiteral("75%"), QStringLiteral("100%"),
                           QStringLiteral("133%"), QStringLiteral("150%"), QStringLiteral("200%")});
}

// The part strip (for part 1) and the selectors that drive it, each laid
// over its placeholder, which it hides.
void CS6R_PerfMainEdig::CreatePartDialogs()
{
    auto place = [this](QWidget* child, int placeholderId) {
        QWidget* placeholder = Control(placeholderId);
        child->setFixedSize(placeholder->size());
        child->move(placeholder->pos());
        placeholder->hide();
        child->show();
    };
    partStrip = new CS6R_PerfPartMainEdit(this, synthDevice, 0);
    place(partStrip, kPartStripPlace);
    partMatrix = new CS6R_PartMatrix(this, partStrip);
    place(partMatrix, kPartMatrixPlace);
}

void CS6R_PerfMainEdig::ConnectHandlers()
{
    for (const auto& combo : kCombos)
        connect(Combo(combo.id), &QComboBox::activated, this, [this, id = combo.id] { OnComboEdit(id); });
    for (int id : {kArpSwitch, kArpOutSwitch})
        connect(Button(id), &QPushButton::clicked, this, [this, id] { OnArpSwitch(id); });
    connect(NameEdit(), &QLineEdit::textChanged, this, &CS6R_PerfMainEdig::OnNameEdited);
    connect(Button(kInitPerf), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnInitPerf);
    connect(Button(kMidiSetup), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnMidiSetup);
    connect(Button(kRequest), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnRequest);
    connect(Button(kTransmit), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnTransmit);
    connect(Button(kReceivePatches), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnReceivePatches);
    connect(Button(kAudition), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnAudition);
    connect(Button(kCopyReverb), &QPushButton::clicked, this, [this] { CopyEffectFromPatch(Effect::Reverb); });
    connect(Button(kCopyChorus), &QPushButton::clicked, this, [this] { CopyEffectFromPatch(Effect::Chorus); });
}

void CS6R_PerfMainEdig::RefreshFromMemory()
{
    ShowMemory();
    if (partStrip)
        partStrip->RefreshFromMemory();
}

void CS6R_PerfMainEdig::ShowMemory()
{
    // Name: ten characters without trailing white space, written without
    // being taken for an edit. A field that already stands for the stored
    // name is left as the user typed it (a space at its end, the cursor).
    const auto name = synthDevice->Read(kNameAddress, kNameLength);
    if (!std::ranges::equal(NameBytes(NameEdit()->text()), name)) {
        nameWriteInProgress = true;
        NameEdit()->setText(QString::fromLatin1(StoredName(name.data())));
        nameWriteInProgress = false;
    }

    for (const auto& combo : kCombos) {
        const std::uint8_t value = Common(combo.low);
        int index = value;
        if (IsPartListA(combo.id))
            index = PartListAIndex(value);
        else if (combo.id == kInsEffectPlgPart)
            index = PartListBIndex(value);
        // A value the list does not hold leaves the selection as it was.
        if (index >= 0 && index < Combo(combo.id)->count())
            Combo(combo.id)->setCurrentIndex(index);
    }

    for (auto [id, low] : {std::pair{kArpOutSwitch, 0x11}, std::pair{kArpSwitch, 0x14}}) {
        const bool on = Common(low) != 0;
        Button(id)->setChecked(on);
        Button(id)->setText(on ? QStringLiteral("on") : QStringLiteral("off"));
    }

    RefreshFaders();
    RefreshEffectLabels();
    RefreshTitle();
}

void CS6R_PerfMainEdig::RefreshTitle()
{
    const std::string name = StoredName(synthDevice->Read(kNameAddress, kNameLength).data());
    QString title = QString::fromUtf8(Template().caption.data(), static_cast<qsizetype>(Template().caption.size()));
    if (!name.empty())
        title += QStringLiteral(" - ") + QString::fromLatin1(name);
    title += QStringLiteral("[*]");
    if (portsGone_)
        title += QStringLiteral(" \u2014 instrument disconnected");
    if (windowTitle() != title)
        setWindowTitle(title);
    setWindowModified(!history_->InStep());
}

void CS6R_PerfMainEdig::SetPortsGone(bool gone)
{
    portsGone_ = gone;
    RefreshTitle();
}

void CS6R_PerfMainEdig::SetUpFaders()
{
    for (int index = 0; index < kFaderCount; ++index) {
        const FaderSetup& setup = kFaders[static_cast<std::size_t>(index)];
        FaderControl* fader = Fader(index);
        if (index == 0)
            fader->SetThumbSize(26, 12);
        fader->SetVerticalPosition(0);
        fader->SetScrollSizes(-1, -1);
        fader->SetRange(setup.min, setup.max, setup.initial);
        fader->notifyTarget = this;
        fader->dragMessage = kFaderDragMessage;
        fader->releaseMessage = kFaderReleaseMessage;
        fader->notifyWParam = static_cast<quintptr>(index);
        fader->notifyLParam = 0;
        faderAddresses_[static_cast<std::size_t>(index)] = PackAddress(0x30, 0x00, setup.low);
        fader->SetValue(setup.initial);
        if (setup.formatter)
            fader->SetFormatter(setup.formatter, 0);
    }
}

// Only the faders whose value changed: the one being dragged keeps its
// anchor, and the rest are not redrawn for nothing.
void CS6R_PerfMainEdig::RefreshFaders()
{
    for (int index = 0; index < kFaderCount; ++index) {
        const FaderSetup& setup = kFaders[static_cast<std::size_t>(index)];
        const int value = setup.twoBytes ? Common(setup.low) << 7 | Common(setup.low + 1) : Common(setup.low);
        if (Fader(index)->Value() != value) {
            Fader(index)->SetValue(value);
            Fader(index)->repaint();
        }
    }
}

void CS6R_PerfMainEdig::RefreshEffectLabels()
{
    const auto reverb = synthDevice->Read(PackAddress(0x30, 0x01, 0), 2);
    const auto chorus = synthDevice->Read(PackAddress(0x30, 0x02, 0), 2);
    ControlAs<QLabel>(kReverbLabel)
        ->setText(QStringLiteral("Reverb : ") + QString::fromStdString(std::string(EffectTypeName(reverb[0], reverb[1]))));
    ControlAs<QLabel>(kChorusLabel)
        ->setText(QStringLiteral("Chorus : ") + QString::fromStdString(std::string(EffectTypeName(chorus[0], chorus[1]))));
}

void CS6R_PerfMainEdig::OnComboEdit(int id)
{
    const HoldPostedMessages hold;
    const int index = Combo(id)->currentIndex();
    const auto& combo = *std::find_if(kCombos.begin(), kCombos.end(), [id](const ComboSetup& c) { return c.id == id; });
    std::uint8_t value = static_cast<std::uint8_t>(index);
    if (IsPartListA(id))
        value = PartListAByte(index);
    else if (id == kInsEffectPlgPart)
        value = PartListBByte(index);
    history_->Edit(Combo(id), EditGesture::Single, {{PackAddress(0x30, 0x00, combo.low), {value}}});
}

void CS6R_PerfMainEdig::OnArpSwitch(int id)
{
    const HoldPostedMessages hold;
    const int low = id == kArpSwitch ? 0x14 : 0x11;
    const bool on = Button(id)->isChecked();
    Button(id)->setText(on ? QStringLiteral("on") : QStringLiteral("off"));
    history_->Edit(Button(id), EditGesture::Single, {{PackAddress(0x30, 0x00, low), {std::uint8_t{on}}}});
}

void CS6R_PerfMainEdig::OnFaderNotify(int index, EditGesture gesture)
{
    if (index < 0 || index >= kFaderCount)
        return;
    const auto value = static_cast<int>(Fader(index)->Value()); // truncation toward zero
    const std::uint32_t address = faderAddresses_[static_cast<std::size_t>(index)];
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(value)};
    if (kFaders[static_cast<std::size_t>(index)].twoBytes)
        bytes = {static_cast<std::uint8_t>(value >> 7), static_cast<std::uint8_t>(value & 0x7F)};
    history_->Edit(Fader(index), gesture, {{address, std::move(bytes)}});
}

void CS6R_PerfMainEdig::OnNameEdited()
{
    if (nameWriteInProgress)
        return;
    PostUserMessage(this, kNameCommitMessage, 0, 0);
}

// Typing is a run of steps: characters typed without a pause undo together.
void CS6R_PerfMainEdig::OnNameCommit()
{
    history_->Edit(NameEdit(), EditGesture::Done, {{kNameAddress, NameBytes(NameEdit()->text()), true}});
}

void CS6R_PerfMainEdig::OnShortMessageNotify()
{
    if (!DetectManualChange())
        return;
    history_->ReplacePerformance(
        [this] { return synthDevice->RequestEditBuffer(DumpType::Performance) == DumpOutcome::Complete; });
    RefreshFromMemory();
}

void CS6R_PerfMainEdig::OnPostedMessage(const PostedMessageEvent& message)
{
    switch (message.Message()) {
    case kFaderDragMessage:
        OnFaderNotify(static_cast<int>(message.WParam()), EditGesture::Moving);
        break;
    case kFaderReleaseMessage:
        OnFaderNotify(static_cast<int>(message.WParam()), EditGesture::Done);
        break;
    case kShortMessageNotify:
        OnShortMessageNotify();
        break;
    case kNameCommitMessage:
        OnNameCommit();
        break;
    default:
        break;
    }
}

void CS6R_PerfMainEdig::OnRequest()
{
    const HoldPostedMessages hold;
    history_->ReplacePerformance(
        [this] { return synthDevice->RequestEditBuffer(DumpType::Performance) == DumpOutcome::Complete; });
    RefreshFromMemory();
}

void CS6R_PerfMainEdig::OnTransmit()
{
    const HoldPostedMessages hold;
    BusyCursor busy;
    synthDevice->SendPerformance(bank::kStoredSoundMsb, kPerformanceEditBuffer, 0x00);
    history_->MarkInStep();
}

void CS6R_PerfMainEdig::OnInitPerf()
{
    const HoldPostedMessages hold;
    history_->ReplacePerformance([this] {
        BusyCursor busy;
        initialPerformance.SendToDevice(*synthDevice);
        return true;
    });
    RefreshFromMemory();
}

void CS6R_PerfMainEdig::OnAudition()
{
    const HoldPostedMessages hold;
    SwitchPulse(*synthDevice, kSwitchAfterRead);
}

void CS6R_PerfMainEdig::OnMidiSetup()
{
    MidiSetupDlg setup(this);
    setup.exec();
}

void CS6R_PerfMainEdig::OnReceivePatches()
{
    constexpr int kEntries = 130; // 128 voices and 2 kits a bank
    const HoldPostedMessages hold;
    QProgressDialog progress(QStringLiteral("Receiving INT patches..."), QStringLiteral("Cancel"), 0, 2 * kEntries, this);
    progress.setWindowTitle(QStringLiteral("Receive INT, EXT patches"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);

    const auto receipts = ReceiveUserBanks(*synthDevice, {}, [&progress](int done, int total) {
        if (done < total) {
            const int entry = done % kEntries + 1;
            const QString what = entry <= 128 ? QStringLiteral("voice %1 of 128").arg(entry)
                                              : QStringLiteral("drum kit %1 of 2").arg(entry - 128);
            progress.setLabelText(QStringLiteral("Receiving %1 %2...")
                                      .arg(done < kEntries ? QStringLiteral("INT") : QStringLiteral("EXT"), what));
        }
        progress.setValue(done);
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    // The program lists name what is now in the banks.
    RefreshFromMemory();
    ShowMessageBox(receipts[0].Describe() + "\n" + receipts[1].Describe());
}

} // namespace cs6
