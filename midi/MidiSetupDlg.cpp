#include "midi/MidiSetupDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include "framework/UserMessage.h"
#include "midi/InstrumentDetector.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "resources/DialogTemplates.h"

namespace cs6 {
namespace {

// Where the port with this GUID is in the list; -1 when it is not.
int IndexOf(const std::vector<MidiPortInfo>& ports, const QUuid& guid)
{
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i].portGuid == guid)
            return static_cast<int>(i);
    return -1;
}

std::string NameOf(const std::vector<MidiPortInfo>& ports, const QUuid& guid)
{
    const int index = IndexOf(ports, guid);
    return index < 0 ? std::string("(gone)") : ports[static_cast<std::size_t>(index)].name;
}

} // namespace

MidiSetupDlg::MidiSetupDlg(QWidget* parent) : TemplateDialog(MidiSetupTemplate(), parent)
{
    setObjectName(QStringLiteral("MidiSetupDlg"));
    FillLists();
    connect(ControlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &MidiSetupDlg::OnOk);
    connect(ControlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(DetectButton(), &QPushButton::clicked, this, &MidiSetupDlg::OnDetect);
}

QComboBox* MidiSetupDlg::InputList() const { return ControlAs<QComboBox>(midi_setup::kInput); }
QComboBox* MidiSetupDlg::OutputList() const { return ControlAs<QComboBox>(midi_setup::kOutput); }
QComboBox* MidiSetupDlg::ThruList() const { return ControlAs<QComboBox>(midi_setup::kThru); }
QPushButton* MidiSetupDlg::DetectButton() const { return ControlAs<QPushButton>(midi_setup::kDetect); }

void MidiSetupDlg::FillLists()
{
    InputList()->clear();
    OutputList()->clear();
    ThruList()->clear();
    // List the ports as they are now, so that a device plugged in or a JACK
    // server started after the program shows up.
    if (midiSystem) {
        inputPorts.clear();
        outputPorts.clear();
        EnumerateMidiPorts();
    }

    int input = -1;
    int thru = -1;
    for (std::size_t i = 0; i < inputPorts.size(); ++i) {
        const QString name = QString::fromStdString(inputPorts[i].name);
        InputList()->addItem(name, static_cast<int>(i));
        ThruList()->addItem(name, static_cast<int>(i));
        if (inputPorts[i].portGuid == midiSettings.inputPortGuid)
            input = static_cast<int>(i);
        if (inputPorts[i].portGuid == midiSettings.thruPortGuid)
            thru = static_cast<int>(i);
    }
    int output = -1;
    for (std::size_t j = 0; j < outputPorts.size(); ++j) {
        OutputList()->addItem(QString::fromStdString(outputPorts[j].name), static_cast<int>(j));
        if (outputPorts[j].portGuid == midiSettings.outputPortGuid)
            output = static_cast<int>(j);
    }
    InputList()->setCurrentIndex(midiSettings.inputEnabled ? input : -1);
    OutputList()->setCurrentIndex(midiSettings.outputEnabled ? output : -1);
    ThruList()->setCurrentIndex(midiSettings.thruEnabled ? thru : -1);
}

void MidiSetupDlg::OnOk()
{
    if (InputList()->currentIndex() < 0 || OutputList()->currentIndex() < 0)
        return;
    const auto input = static_cast<std::size_t>(InputList()->currentData().toInt());
    const auto output = static_cast<std::size_t>(OutputList()->currentData().toInt());
    if (input >= inputPorts.size() || output >= outputPorts.size())
        return;
    CloseMidiConnection();
    midiSettings.inputPortGuid = inputPorts[input].portGuid;
    midiSettings.outputPortGuid = outputPorts[output].portGuid;
    midiSettings.inputEnabled = 1;
    midiSettings.outputEnabled = 1;
    OpenMidiConnection();
    accept();
}

void MidiSetupDlg::OnDetect()
{
    if (!midiSystem)
        return;
    // What the lists show now, kept unless one instrument is found. The
    // lists hold the ports in their listing order.
    const auto chosen = [](const QComboBox* list, const std::vector<MidiPortInfo>& ports) {
        const auto index = static_cast<std::size_t>(list->currentIndex());
        return index < ports.size() ? ports[index].portGuid : QUuid();
    };
    QUuid input = chosen(InputList(), inputPorts);
    QUuid output = chosen(OutputList(), outputPorts);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    CloseMidiConnection();
    const std::vector<InstrumentPorts> found = DetectInstruments(*midiSystem);
    OpenMidiConnection();
    FillLists(); // the ports as they are now
    QApplication::restoreOverrideCursor();

    if (found.size() == 1) {
        input = found[0].input;
        output = found[0].output;
    }
    InputList()->setCurrentIndex(IndexOf(inputPorts, input));
    OutputList()->setCurrentIndex(IndexOf(outputPorts, output));
    if (found.empty()) {
        ShowMessageBox("No CS6x answered the identity request.");
    } else if (found.size() > 1) {
        std::string text = "Several CS6x answered: choose the ports of the one to use.";
        for (const InstrumentPorts& ports : found)
            text += "\nIN " + NameOf(inputPorts, ports.input) + ", OUT " + NameOf(outputPorts, ports.output);
        ShowMessageBox(text);
    }
}

} // namespace cs6
