#include "app/EditorApp.h"

#include <algorithm>
#include <iterator>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include "app/ReceivePresetPatches.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "editor/PerformanceFiles.h"
#include "editor/PerformanceLibraryWindow.h"
#include "framework/FileIo.h"
#include "framework/UserMessage.h"
#include "midi/InstrumentDetector.h"
#include "midi/PortGuid.h"
#include "midi/MidiSettings.h"
#include "resources/ProgramIcon.h"
#include "synth/BankFiles.h"
#include "synth/NameTables.h"

namespace cs6 {
namespace {

// The program's own in-process port, the built-in emulated instrument's.
bool BuiltIn(const std::vector<MidiPortInfo>& ports, const QUuid& guid)
{
    return std::any_of(ports.begin(), ports.end(), [&guid](const MidiPortInfo& port) {
        return port.portGuid == guid && PortGuid(kEmulatedKind, port.name) == guid;
    });
}

constexpr const char* kPresetsOfferedKey = "presetPatchesOffered";

} // namespace

EditorApp::EditorApp(MidiSystemConfig midi) : midi_(std::move(midi)), device_(&output_)
{
    device_.SetReplySource(&replies_);
    QApplication::setWindowIcon(ProgramIcon());
}

EditorApp::~EditorApp() = default;

int EditorApp::InitInstance(const std::filesystem::path& file)
{
    StartUp();
    if (dialog_->InitDialog()) {
        // The librarian, made by the main dialog's initialisation, gets
        // "Receive PRE patches" beside its own receive button.
        if (auto* library = dialog_->findChild<PerformanceLibraryWindow*>())
            AddReceivePresetButton(*library, device_, *dialog_);
        if (!file.empty()) { // in the window, before the user can act
            dialog_->setWindowModality(Qt::ApplicationModal); // as exec shows it
            dialog_->show();
            (void)dialog_->Files().OpenFile(file);
        }
        if (!shippedPresets_.empty()) // asked once the window is up
            QTimer::singleShot(0, dialog_.get(), [this] { OfferPresetPatches(); });
        dialog_->exec();
    }
    ShutDown();
    return 0;
}

void EditorApp::LoadFiles()
{
    try {
        firstRun_ = LoadMidiSettings(kSettingsFileName) == SettingsLoad::Missing;
        if (firstRun_)
            midiSettings = {}; // no ports chosen yet
    } catch (const FileError& error) {
        ShowMessageBox("The file " + error.Path().string() + " could not be read (" + error.Reason() +
                       "). Please choose the MIDI ports again.");
    }
    try {
        (void)LoadPresetBanks(kPresetBankFileName);
    } catch (const FileError& error) {
        ShowMessageBox("The file " + error.Path().string() + " could not be read (" + error.Reason() +
                       "). The preset voices are listed without names.");
    }
    (void)LoadUserBank(kIntBankFileName, internalBank, internalDrums);
    (void)LoadUserBank(kExtBankFileName, externalBank, externalDrums);
    try {
        (void)LoadInitialPerformance(kInitialPerformanceFileName);
    } catch (const FileError& error) {
        initialPerformance = Performance(kStoredSoundBankMsb, 0x4F, 0x00);
        ShowMessageBox("The file " + error.Path().string() + " could not be read (" + error.Reason() +
                       "). \"Init Perf\" sends an empty performance.");
    }
}

void EditorApp::StartUp()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(kOrganisationName));
    LoadFiles();
    dialog_ = std::make_unique<CS6R_PerfMainEdig>(nullptr, &device_);

    midiSystem = std::make_unique<MidiSystem>(std::move(midi_));
    EnumerateMidiPorts();
    if (firstRun_)
        ChooseDetectedInstrument();
    OpenMidiConnection();
    InitNameTables();
    // Not while a transfer runs or a box is open over the main dialog: the
    // ports are never replaced under a send.
    watcher_ = std::make_unique<PortWatcher>(output_, [this] {
        const QWidget* modal = QApplication::activeModalWidget();
        return TemplateDialog::PostedMessagesHeld() || (modal && modal != dialog_.get());
    });
    QObject::connect(watcher_.get(), &PortWatcher::StateChanged, [this](PortState state, bool behind) {
        OnPortState(state, behind);
    });
}

void EditorApp::OnPortState(PortState state, bool behind)
{
    dialog_->SetPortsGone(state == PortState::Gone);
    // The instrument may have missed edits: it gets the whole performance.
    if (state == PortState::Present && behind)
        dialog_->OnTransmit();
}

void EditorApp::ChooseDetectedInstrument()
{
    const std::vector<InstrumentPorts> found = DetectInstruments(*midiSystem);
    // The built-in emulated instrument (the program's in-process port)
    // answers too; a real instrument found beside it is the one meant.
    std::vector<InstrumentPorts> real;
    std::copy_if(found.begin(), found.end(), std::back_inserter(real),
                 [](const InstrumentPorts& pair) { return !BuiltIn(inputPorts, pair.input); });
    const std::vector<InstrumentPorts>& choice = real.empty() ? found : real;
    if (choice.size() != 1)
        return; // the main dialog asks for the ports
    midiSettings.inputPortGuid = choice[0].input;
    midiSettings.outputPortGuid = choice[0].output;
    midiSettings.inputEnabled = 1;
    midiSettings.outputEnabled = 1;
}

void EditorApp::OfferPresetPatches()
{
    if (!outputOpen || BuiltIn(outputPorts, midiSettings.outputPortGuid))
        return;
    QSettings settings(QDir::current().absoluteFilePath(QString::fromLatin1(kFoldersFileName)), QSettings::IniFormat);
    if (settings.value(QString::fromLatin1(kPresetsOfferedKey)).toBool())
        return;
    try {
        if (ReadWholeFile(kPresetBankFileName) != shippedPresets_)
            return; // already the instrument's own, or someone else's
    } catch (const FileError&) {
        return;
    }
    settings.setValue(QString::fromLatin1(kPresetsOfferedKey), true);
    settings.sync();
    const auto answer = QMessageBox::question(
        dialog_.get(), QString::fromLatin1(kReceivePresetPatchesText),
        QStringLiteral("The preset names this editor came with are made up. Fetch the names of the instrument's "
                       "own presets (PRE1, PRE2 and the PRE drum kits) now? This takes about two minutes; it can "
                       "also be done later with \"%1\" in the library window.")
            .arg(QString::fromLatin1(kReceivePresetPatchesText)));
    if (answer == QMessageBox::Yes)
        ReceivePresetPatches(device_, *dialog_, dialog_.get());
}

void EditorApp::ShutDown()
{
    watcher_.reset();
    CloseMidiConnection();
    midiSystem.reset();
    try {
        SaveMidiSettings(kSettingsFileName);
    } catch (const FileError& error) {
        ShowMessageBox("The MIDI port choice could not be saved in " + error.Path().string() + " (" +
                       error.Reason() + ").");
    }
    dialog_.reset();
}

} // namespace cs6
