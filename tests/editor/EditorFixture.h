#pragma once
// The editor's dialogs against the emulated instrument in process, over the
// real transport (pacing off, the editor's own waits real), and the helpers
// the editor tests share: a person's actions on lists, faders and modal
// dialogs, and the bytes the instrument received.

#include <QComboBox>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

#include "controls/FaderControl.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/PatchSelectDlg.h"
#include "framework/UserMessage.h"
#include "midi/DriverList.h"
#include "midi/MidiConnection.h"
#include "midi/MidiPort.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "resources/DialogTemplates.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"
#include "synth/BankFiles.h"
#include "synth/BulkSequences.h"
#include "synth/NameTables.h"
#include "synth/SynthDevice.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace std::chrono_literals;

namespace cs6::test {

using Bytes = std::vector<std::uint8_t>;

// The bytes of hex text such as "30 00 0E 01".
inline Bytes Hex(const QString& text) { return ParseHexString(text.toStdString()).value(); }

// A parameter change F0 43 10 64 hh mm ll data.. F7 of "hh mm ll data..".
inline Bytes Change(const QString& addressAndData) { return Hex("F0 43 10 64 " + addressAndData + " F7"); }

// The message boxes shown while one lives, by their text; whileBoxShows, if
// set, runs inside each, as the box's own event loop would.
struct BoxCapture {
    BoxCapture()
    {
        previous = SetMessageBoxHandler([this](std::string_view text) {
            boxes.emplace_back(text);
            if (whileBoxShows)
                whileBoxShows();
        });
    }
    ~BoxCapture() { SetMessageBoxHandler(std::move(previous)); }
    Q_DISABLE_COPY(BoxCapture)
    bool Shown(const QString& part) const
    {
        return std::ranges::any_of(boxes, [&](const auto& box) { return QString::fromStdString(box).contains(part); });
    }
    std::vector<std::string> boxes;
    std::function<void()> whileBoxShows;
    MessageBoxHandler previous;
};

// The current folder is a new empty one while this lives.
struct InTemporaryFolder {
    InTemporaryFolder() { QDir::setCurrent(folder.path()); }
    ~InTemporaryFolder() { QDir::setCurrent(previous); }
    Q_DISABLE_COPY(InTemporaryFolder)
    QTemporaryDir folder;
    QString previous = QDir::currentPath();
};

struct EditorFixture : BoxCapture {
    EditorFixture()
        : instrument(std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests()))
    {
        midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{
            .drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
        inputPorts.clear();
        outputPorts.clear();
        EnumerateMidiPorts();
        const QUuid port = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
        midiSettings = {1, 0, 1, port, {}, port}; // input and output on the emulated instrument
        OpenMidiConnection();
        InitNameTables();
        device.SetOutput(&output);
        device.SetReplySource(&replies);
    }

    ~EditorFixture()
    {
        CloseMidiConnection();
        midiSystem.reset();
        inputPorts.clear();
        outputPorts.clear();
    }
    Q_DISABLE_COPY(EditorFixture)

    // Everything the instrument received since the last call.
    std::vector<sim::LoggedMessage> TakeReceived()
    {
        auto all = instrument->ReceivedMessages();
        std::vector<sim::LoggedMessage> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen), all.end());
        seen = all.size();
        return fresh;
    }
    std::vector<Bytes> TakeReceivedBytes() { return BytesOf(TakeReceived()); }
    static std::vector<Bytes> BytesOf(const std::vector<sim::LoggedMessage>& messages)
    {
        std::vector<Bytes> bytes;
        std::ranges::transform(messages, std::back_inserter(bytes), &sim::LoggedMessage::bytes);
        return bytes;
    }

    // TakeReceivedBytes once count more messages arrived (or two seconds passed).
    std::vector<Bytes> Received(std::size_t count)
    {
        (void)instrument->WaitForReceived(seen + count, 2s);
        return TakeReceivedBytes();
    }

    // Parameter changes ("hh mm ll data..") made on the instrument behind the
    // editor's back; not counted as received.
    void SetOnInstrument(const QString& addressAndData)
    {
        if (!addressAndData.isEmpty())
            instrument->Receive(Change(addressAndData));
        TakeReceived();
    }

    bool FetchPerformance() // the instrument's performance into the editor's memory
    {
        return device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance) == DumpOutcome::Complete;
    }

    // The editor's stored sounds as the instrument holds them, as if loaded
    // from the data files.
    void LoadStoredSounds()
    {
        const sim::SoundBanks banks = instrument->StoredSounds();
        (void)LoadPresetBanksFromBytes(sim::BankFileBytes(banks, sim::BankFile::Preset));
        (void)LoadUserBankFromBytes(sim::BankFileBytes(banks, sim::BankFile::Int), internalBank, internalDrums);
        (void)LoadUserBankFromBytes(sim::BankFileBytes(banks, sim::BankFile::Ext), externalBank, externalDrums);
    }

    std::shared_ptr<sim::EmulatedInstrument> instrument;
    ConnectionOutput output;
    CollectorReplySource replies;
    SynthDevice device;
    std::size_t seen = 0; // messages taken
};

// The editor's performance, its blocks as one run of bytes.
inline Bytes PerformanceOf(const SynthDevice& device)
{
    const auto blocks = device.Memory().Region(BulkRegion(DumpType::Performance));
    return {blocks.begin(), blocks.end()};
}

inline bool Activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The fixture with the main window after its initialisation, whose messages
// are taken; shown and active, so that its keys work, when asked.
struct MainWindow : EditorFixture {
    explicit MainWindow(bool shown = false)
    {
        ready = window.InitDialog() && (!shown || Activate(window));
        TakeReceived();
    }
    CS6R_PerfPartMainEdit& Strip() { return *window.PartStrip(); }
    CS6R_PerfMainEdig window{nullptr, &device};
    bool ready = false;
};

// The posted user messages (a fader's notifications) handled now.
inline void DeliverPosted() { QCoreApplication::sendPostedEvents(nullptr, PostedCall::Type()); }

// Chooses a list item as a person does: selection, then the notification.
inline void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The same, by the item's text; false when the list has no such item.
inline bool Choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index >= 0)
        Choose(combo, index);
    return index >= 0;
}

// A key on a fader and its notification handled.
inline void KeyFader(FaderControl* fader, Qt::Key key)
{
    QTest::keyClick(fader, key);
    DeliverPosted();
}

// A press on the thumb of a shown fader, a move by each of steps pixels in
// turn (each handled before the next), and the release where it ended.
inline void DragFader(FaderControl* fader, std::initializer_list<int> steps)
{
    fader->grab(); // the first paint fits the track to the size
    const QPoint thumb(fader->width() / 2, fader->ThumbY());
    Press(fader, thumb);
    QPoint at = thumb;
    for (int dy : steps) {
        Move(fader, at = thumb + QPoint(0, dy));
        DeliverPosted();
    }
    Release(fader, at);
    DeliverPosted();
}

// Runs answer on the modal dialog that opens next, once it shows.
inline void AtNextModal(std::function<void(QDialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            answer(*modal);
    });
}

// Runs action, which opens a modal dialog; returns that dialog's caption
// after closing it as Escape would.
template <typename Action>
QString CaptionOfModal(Action action)
{
    QString caption;
    AtNextModal([&caption](QDialog& modal) {
        caption = modal.windowTitle();
        modal.reject();
    });
    action();
    return caption;
}

// Runs action, which shows a progress dialog in window, and presses its
// Cancel once it shows value.
template <typename Action>
void CancelProgressAt(QWidget& window, int value, Action action)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = window.findChild<QProgressDialog*>();
        if (progress && progress->value() >= value)
            progress->cancel();
    });
    poll.start(0);
    action();
}

// A person's choice in the patch dialog: a bank row and a 0-based program,
// then a click on OK, or Enter on the control enterOn. Without a program the
// dialog is cancelled after the bank choice.
struct PatchChoice { int row, program = -1, enterOn = 0; };

// Answers the patch dialog that is about to open (any other modal dialog is
// cancelled). during, if set, runs while the dialog is open, before the choice.
inline void AnswerNextPatchDialog(PatchChoice choice, std::function<void()> during = {})
{
    AtNextModal([choice, during](QDialog& modal) {
        auto* dialog = qobject_cast<PatchSelectDlg*>(&modal);
        if (!dialog)
            return modal.reject();
        if (during)
            during();
        Choose(dialog->BankList(), dialog->BankList()->findData(choice.row));
        if (choice.program < 0)
            return dialog->reject();
        dialog->ProgramList()->setCurrentIndex(choice.program);
        if (choice.enterOn)
            QTest::keyClick(dialog->Control(choice.enterOn), Qt::Key_Return);
        else
            dialog->OkButton()->click();
    });
}

} // namespace cs6::test
