// The whole program's run in a folder of its own, against the emulated
// instrument in process: the port choice, kept in settings.dat from one run
// to the next, what the user is told when that file fails, and the icon.
#include <filesystem>

#include "app/EditorApp.h"
#include "framework/FileIo.h"
#include "synth/PerformanceFile.h"
#include "midi/MidiSetupDlg.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;

namespace {

// A person at the program's modal dialogs: MIDI Setup gets the emulated
// instrument's ports and OK when choose is set, else Cancel; the main window
// is closed at once. Notes the sizes of MIDI Setup's icon.
struct Person {
    explicit Person(bool choose)
    {
        timer.callOnTimeout([this, choose] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* setup = dynamic_cast<MidiSetupDlg*>(modal)) {
                ++setups;
                iconSizes = setup->windowIcon().availableSizes(); // only the pictures it could read
                const QString port = QString::fromLatin1(sim::kEmulatedPortName);
                if (choose && test::Choose(setup->InputList(), port) && test::Choose(setup->OutputList(), port))
                    setup->OnOk();
                else
                    setup->reject();
            } else if (auto* main = dynamic_cast<CS6R_PerfMainEdig*>(modal)) {
                main->reject();
            }
        });
        timer.start(10);
    }
    int setups = 0;
    QList<QSize> iconSizes;
    QTimer timer;
};

// A run of the program; a settings file of no ports is written first unless
// one is there (without a file the program would look for the instrument).
struct App {
    App() : app({.drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}})
    {
        if (!std::filesystem::exists(kSettingsFileName))
            WriteFileAtomically(kSettingsFileName, test::Bytes(kMidiSettingsSize, 0));
    }
    std::shared_ptr<sim::EmulatedInstrument> instrument =
        std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
    EditorApp app;
};

} // namespace

class EditorAppTest : public QObject {
    Q_OBJECT

private slots:
    // A run whose MIDI Setup is cancelled ends at once; the next asks for the
    // ports again and saves them at its end; the one after opens them without
    // asking and starts the instrument, then sends it the performance of the
    // file it was started with (cs6edit FILE.syx).
    void theMidiSetupChoiceIsOpenedAgainByTheNextRun()
    {
        test::InTemporaryFolder folder;
        ParameterMemory file;
        std::ranges::copy(std::string_view("Started"), file.Bytes(PackAddress(0x30, 0, 0), 7).begin());
        WriteFileAtomically("start.syx", SerializePerformance(file));
        for (const int run : {0, 1, 2}) { // cancelled, chosen, opened again
            test::BoxCapture boxes;
            midiSettings = {};
            App app;
            Person person(run > 0);
            QCOMPARE(app.app.InitInstance(run < 2 ? std::filesystem::path{} : std::filesystem::absolute("start.syx")), 0);
            QCOMPARE(person.setups, run < 2 ? 1 : 0);
            QCOMPARE(boxes.Shown(QStringLiteral("Current MIDI configuration is not valid. Please specify MIDI ports!")), run < 2);
            if (run == 0) { // the missing data files are named, then the two port messages
                QCOMPARE(boxes.boxes.size(), std::size_t{4});
                QVERIFY(QString::fromStdString(boxes.boxes[0]).contains(QStringLiteral("patches_pre.bnk")));
                QVERIFY(QString::fromStdString(boxes.boxes[1]).contains(QStringLiteral("perf_init.prf")));
                QCOMPARE(boxes.boxes[3], std::string("Required MIDI ports not specified. Exiting..."));
                QVERIFY(app.instrument->ReceivedMessages().empty() && !midiSystem);
                QCOMPARE(person.iconSizes,
                         (QList<QSize>{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
                continue;
            }
            QCOMPARE(app.instrument->ReceivedMessages().size(), std::size_t{run == 1 ? 7u : 7u + 34}); // start-up, file
            const auto region = file.Region(BulkRegion(DumpType::Performance));
            QCOMPARE(app.instrument->EditBuffer(DumpType::Performance) == test::Bytes(region.begin(), region.end()), run == 2);
            for (const QUuid& port : {midiSettings.inputPortGuid, midiSettings.outputPortGuid})
                QCOMPARE(port, PortGuid(kEmulatedKind, sim::kEmulatedPortName));
        }
    }

    void aSettingsFileThatFailsIsNamed()
    {
        // A folder made where the program expects a file, and the box.
        for (const auto& [directory, box] :
             {std::pair{"settings.dat", "The file settings.dat could not be read"},
              std::pair{"settings.dat.tmp", "The MIDI port choice could not be saved in settings.dat"}}) {
            test::InTemporaryFolder folder;
            test::BoxCapture boxes;
            App run;
            std::filesystem::remove(directory);
            std::filesystem::create_directory(directory);
            run.app.StartUp();
            run.app.ShutDown();
            QVERIFY2(boxes.Shown(QString::fromLatin1(box)), boxes.boxes.empty() ? "no box" : boxes.boxes.back().c_str());
        }
    }
};

CS6_EDITOR_TEST(EditorAppTest);
#include "EditorAppTest.moc"
