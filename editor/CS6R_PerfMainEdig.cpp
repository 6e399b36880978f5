#include "editor/CS6R_PerfMainEdig.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include <span>

#include "editor/CS6R_PartMatrix.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/PerformanceLibraryWindow.h"
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

constexpr std::array<FaderBinding, CS6R_PerfMainEdig::kFaderCount> kFaders = {{
    {kVolume, common::kVolume, FaderEncoding::Byte, 0, 127, 64},
    {kArpVelocityRate, common::kArpVelocityRate, FaderEncoding::TwoSevenBit, 0, 200, 0},
    {kArpGateTime, common::kArpGateTime, FaderEncoding::TwoSevenBit, 0, 200, 0},
    {kArpTempo, common::kArpTempo, FaderEncoding::TwoSevenBit, 25, 300, 25},
    {kArpNoteLow, common::kArpNoteLow, FaderEncoding::Byte, 0, 127, 64, &noteNameFormatter},
    {kArpNoteHigh, common::kArpNoteHigh, FaderEncoding::Byte, 0, 127, 64, &noteNameFormatter},
    {kPhraseClipPitch, common::kPhraseClipPitch, FaderEncoding::Byte, 0, 127, 64, &bipolarFormatter},
    {kSplitPoint, common::kSplitPoint, FaderEncoding::Byte, 0, 127, 64, &noteNameFormatter},
}};

QStringList Numbers(int first, int last)
{
    QStringList numbers;
    for (int n = first; n <= last; ++n)
        numbers << QString::number(n);
    return numbers;
}

// Parts 1 to 16, AD, CL and none.
QStringList PartList()
{
    QStringList parts;
    for (int part = 1; part <= 16; ++part)
        parts << QStringLiteral("Part %1").arg(part);
    return parts << QStringLiteral("PartAD") << QStringLiteral("PartCL") << QStringLiteral("off");
}

// A list of the common block: its byte, its items in order and the byte each
// item stands for (none: its position).
struct ListRow {
    int id;
    int low;
    QStringList (*items)();
    std::span<const std::uint8_t> bytes = {};
};
constexpr auto kPartListBytes = [] {
    std::array<std::uint8_t, 19> bytes{};
    for (int p = 0; p < 16; ++p)
        bytes[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
    bytes[16] = part::kAD;
    bytes[17] = part::kCL;
    bytes[18] = part::kNone;
    return bytes;
}();
constexpr std::array<std::uint8_t, 3> kPlgPartListBytes = {part::kPLG1, part::kPLG2, part::kNone};

const std::array<ListRow, 12> kLists = {{
    {kCategory, common::kCategory,
     [] {
         QStringList names;
         for (const auto& name : categoryNames)
             names << QString::fromStdString(name);
         return names;
     }},
    {kLayerChannel, common::kLayerChannel, [] { return Numbers(1, 16) << QStringLiteral("BasicCh"); }},
    {kInsEffectPart, common::kInsEffectPart, PartList, kPartListBytes},
    {kInsEffectPlgPart, common::kInsEffectPlgPart, [] { return QStringList{"PartP1", "PartP2", "off"}; },
     kPlgPartListBytes},
    {kInsPlgPart, common::kInsPlgPart, PartList, kPartListBytes},
    {kMasterKeyboardMode, common::kMasterKeyboardMode, [] { return QStringList{"split", "4zone", "layer"}; }},
    {kArpType, common::kArpType, [] { return Numbers(0, 127); }},
    {kArpKeyMode, common::kArpKeyMode, [] { return QStringList{"sort", "thru", "direct"}; }},
    {kArpVelocityMode, common::kArpVelocityMode, [] { return QStringList{"original", "thru"}; }},
    {kArpOutChannel, common::kArpOutChannel, [] { return Numbers(1, 16) << QStringLiteral("kbd-ch"); }},
    {kArpHold, common::kArpHold, [] { return QStringList{"sync-off", "off", "on"}; }},
    {kArpUnit, common::kArpUnit, [] { return QStringList{"50%", "66%", "75%", "100%", "133%", "150%", "200%"}; }},
}};

// The item standing for byte, or -1.
int ItemOf(const ListRow& list, std::uint8_t byte)
{
    if (list.bytes.empty())
        return byte;
    const auto it = std::ranges::find(list.bytes, byte);
    return it == list.bytes.end() ? -1 : static_cast<int>(it - list.bytes.begin());
}

std::uint8_t ByteOf(const ListRow& list, int item)
{
    if (item >= 0 && item < static_cast<int>(list.bytes.size()))
        return list.bytes[static_cast<std::size_t>(item)];
    return static_cast<std::uint8_t>(item);
}

// The two switches of the common block.
struct SwitchRow {
    int id;
    int low;
};
constexpr std::array<SwitchRow, 2> kSwitches = {{
    {kArpOutSwitch, common::kArpOutSwitch},
    {kArpSwitch, common::kArpSwitch},
}};

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

constexpr std::uint32_t kNameAddress = PackAddress(block::kPerformance, common::kBlockMid, common::kName);

} // namespace

// Any two-byte message may mean a change made on the instrument: which one
// it was does not matter.
void CS6R_PerfMainEdig::ShortMessagePoster::PostShortMessage(std::uint8_t, std::uint8_t)
{
    PostCall(dialog_, [dialog = dialog_] { dialog->OnShortMessageNotify(); });
}

CS6R_PerfMainEdig::CS6R_PerfMainEdig(QWidget* parent, SynthDevice* device)
    : ParameterDialog(PerfMainTemplate(), parent, device), history_(new EditHistory(*device, this)),
      files_(new PerformanceFiles(this, *device, *history_)),
      watch_(*device, [] { return BulkRegion(DumpType::Performance); }, [this] { ShowMemory(); })
{
    setObjectName(QStringLiteral("CS6R_PerfMainEdig"));
    BindFaders(kFaders, block::kPerformance, common::kBlockMid);
    Fader(0)->SetThumbSize(26, 12);
    NameEdit()->setMaxLength(10);
    connect(&history_->Stack(), &QUndoStack::cleanChanged, this, &CS6R_PerfMainEdig::RefreshTitle);
    connect(files_, &PerformanceFiles::currentFileChanged, this, &CS6R_PerfMainEdig::RefreshTitle);
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
    for (const ListRow& list : kLists)
        Combo(list.id)->addItems(list.items());
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
    for (const ListRow& list : kLists) {
        connect(Combo(list.id), &QComboBox::activated, this,
                [this, &list](int item) { EditCommon(Combo(list.id), list.low, ByteOf(list, item)); });
    }
    for (const SwitchRow& row : kSwitches) {
        connect(Button(row.id), &QPushButton::clicked, this, [this, &row](bool on) {
            Button(row.id)->setText(on ? QStringLiteral("on") : QStringLiteral("off"));
            EditCommon(Button(row.id), row.low, on ? 1 : 0);
        });
    }
    connect(NameEdit(), &QLineEdit::textChanged, this, &CS6R_PerfMainEdig::OnNameEdited);
    connect(Button(kInitPerf), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnInitPerf);
    connect(Button(kMidiSetup), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnMidiSetup);
    connect(Button(kRequest), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnRequest);
    connect(Button(kTransmit), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnTransmit);
    connect(Button(kReceivePatches), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnReceivePatches);
    connect(Button(kAudition), &QPushButton::clicked, this, &CS6R_PerfMainEdig::OnAudition);
    connect(Button(kCopyReverb), &QPushButton::clicked, this, [this] { CopyEffectFromPatch(Effect::Reverb); });
    connect(Button(kCopyChorus), &QPushButton::clicked, this, [this] { CopyEffectFromPatch(Effect::Chorus); });
    connect(Button(kOpenFile), &QPushButton::clicked, files_, &PerformanceFiles::Open);
    connect(Button(kSaveFile), &QPushButton::clicked, files_, &PerformanceFiles::Save);
    // The librarian reads the library now, at start-up, and shows itself on "Library…".
    auto* library = new PerformanceLibraryWindow(this, *synthDevice, *history_, std::filesystem::current_path());
    connect(Button(kLibrary), &QPushButton::clicked, library, &PerformanceLibraryWindow::ShowWindow);
    connect(library, &PerformanceLibraryWindow::performanceEdited, files_, &PerformanceFiles::Forget);
    files_->SetLibraryHandler([library](const std::filesystem::path& file, const std::vector<FilePerformance>&) {
        library->ShowWindow();
        library->Import({file});
    });
    const QUndoStack& stack = history_->Stack();
    connect(Button(kUndo), &QPushButton::clicked, history_, &EditHistory::Undo);
    connect(Button(kRedo), &QPushButton::clicked, history_, &EditHistory::Redo);
    connect(&stack, &QUndoStack::canUndoChanged, Button(kUndo), &QPushButton::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, Button(kRedo), &QPushButton::setEnabled);
    Button(kUndo)->setEnabled(stack.canUndo());
    Button(kRedo)->setEnabled(stack.canRedo());
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

    for (const ListRow& list : kLists) {
        const int index = ItemOf(list, Common(list.low));
        // A value the list does not hold leaves the selection as it was.
        if (index >= 0 && index < Combo(list.id)->count())
            Combo(list.id)->setCurrentIndex(index);
    }

    for (const SwitchRow& row : kSwitches) {
        const bool on = Common(row.low) != 0;
        Button(row.id)->setChecked(on);
        Button(row.id)->setText(on ? QStringLiteral("on") : QStringLiteral("off"));
    }

    ShowFaders();
    RefreshEffectLabels();
    RefreshTitle();
}

void CS6R_PerfMainEdig::RefreshTitle()
{
    const std::string name = StoredName(synthDevice->Read(kNameAddress, kNameLength).data());
    QString title = QString::fromUtf8(Template().caption.data(), static_cast<qsizetype>(Template().caption.size()));
    if (!name.empty())
        title += QStringLiteral(" - ") + QString::fromLatin1(name);
    if (!files_->CurrentFile().empty())
        title += QStringLiteral(" (") + QString::fromStdString(files_->CurrentFile().filename().string()) + u')';
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

void CS6R_PerfMainEdig::RefreshEffectLabels()
{
    const auto reverb = synthDevice->Read(PackAddress(block::kPerformance, block::kReverb, 0), 2);
    const auto chorus = synthDevice->Read(PackAddress(block::kPerformance, block::kChorus, 0), 2);
    ControlAs<QLabel>(kReverbLabel)
        ->setText(QStringLiteral("Reverb : ") + QString::fromStdString(std::string(EffectTypeName(reverb[0], reverb[1]))));
    ControlAs<QLabel>(kChorusLabel)
        ->setText(QStringLiteral("Chorus : ") + QString::fromStdString(std::string(EffectTypeName(chorus[0], chorus[1]))));
}

void CS6R_PerfMainEdig::EditCommon(const QWidget* control, int low, std::uint8_t byte)
{
    const HoldPostedMessages hold;
    history_->Edit(control, EditGesture::Single, {{CommonAddress(low), {byte}}});
}

void CS6R_PerfMainEdig::OnNameEdited()
{
    if (nameWriteInProgress)
        return;
    PostCall(this, [this] { OnNameCommit(); });
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
    files_->Forget();
    RefreshFromMemory();
}

void CS6R_PerfMainEdig::OnRequest()
{
    const HoldPostedMessages hold;
    history_->ReplacePerformance(
        [this] { return synthDevice->RequestEditBuffer(DumpType::Performance) == DumpOutcome::Complete; });
    files_->Forget();
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
    files_->Forget();
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
