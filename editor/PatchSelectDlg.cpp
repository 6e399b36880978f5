#include "editor/PatchSelectDlg.h"

#include <QComboBox>
#include <QPushButton>

#include "resources/DialogTemplates.h"
#include "synth/NameTables.h"

namespace cs6 {

using namespace patch_select;

namespace {

// The bankTable rows the dialog offers: the normal-voice banks PRE1 .. PLG2
// and the drum banks, the ones a sound can be fetched from.
constexpr int kFirstRow = kBankPre1;
constexpr int kLastRow = kBankExtDrum;

// A program's item: its number from 1, then the category code and name of the
// stored voice, or the name of the stored kit, where the editor keeps one.
QString ProgramText(const BankEntry& bank, int program)
{
    const QString number = QString::number(program + 1);
    if (const NormalVoice* voice = bank.NormalVoiceAt(program)) {
        return number + QStringLiteral("  ") + QString::fromLatin1(voice->GetCategoryCode()) + QStringLiteral(":  ") +
               QString::fromLatin1(voice->GetName());
    }
    if (const DrumVoice* kit = bank.DrumVoiceAt(program))
        return number + QStringLiteral("  ") + QString::fromLatin1(kit->GetName());
    return number;
}

} // namespace

PatchSelectDlg::PatchSelectDlg(QWidget* parent) : TemplateDialog(PatchSelectTemplate(), parent)
{
    setObjectName(QStringLiteral("PatchSelectDlg"));
    for (int row = kFirstRow; row <= kLastRow; ++row)
        BankList()->addItem(QString::fromStdString(bankTable[static_cast<std::size_t>(row)].name), row);
    // Nothing is chosen when the dialog opens.
    BankList()->setCurrentIndex(-1);

    connect(BankList(), &QComboBox::activated, this, &PatchSelectDlg::FillProgramList);
    connect(ProgramList(), &QComboBox::currentIndexChanged, this, &PatchSelectDlg::UpdateOkButton);
    connect(OkButton(), &QPushButton::clicked, this, &PatchSelectDlg::OnOk);
    connect(ControlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    UpdateOkButton();
}

QComboBox* PatchSelectDlg::BankList() const { return ControlAs<QComboBox>(kBank); }
QComboBox* PatchSelectDlg::ProgramList() const { return ControlAs<QComboBox>(kProgram); }
QPushButton* PatchSelectDlg::OkButton() const { return ControlAs<QPushButton>(kIdOk); }

void PatchSelectDlg::FillProgramList()
{
    QComboBox* programs = ProgramList();
    const int previous = programs->currentIndex();
    programs->clear();

    const int row = ChosenBank();
    if (row >= 0) {
        const BankEntry& bank = bankTable[static_cast<std::size_t>(row)];
        for (int program = 0; program <= bank.lastProgram; ++program)
            programs->addItem(ProgramText(bank, program));
        // The program chosen before stays chosen where the new bank has it;
        // the first bank choice leaves the list without a selection.
        if (previous < 0)
            programs->setCurrentIndex(-1);
        else
            programs->setCurrentIndex(previous <= bank.lastProgram ? previous : 0);
    }
    UpdateOkButton();
}

void PatchSelectDlg::OnOk()
{
    const int bank = ChosenBank();
    const int program = ChosenProgram();
    if (bank < 0 || program < 0)
        return;
    selectedBank = bank;
    selectedProgram = program;
    accept();
}

void PatchSelectDlg::UpdateOkButton() { OkButton()->setEnabled(ChosenBank() >= 0 && ChosenProgram() >= 0); }

int PatchSelectDlg::ChosenBank() const
{
    if (BankList()->currentIndex() < 0)
        return -1;
    const int row = BankList()->currentData().toInt();
    return row >= kFirstRow && row <= kLastRow ? row : -1;
}

int PatchSelectDlg::ChosenProgram() const
{
    const int row = ChosenBank();
    const int program = ProgramList()->currentIndex();
    if (row < 0 || program < 0 || program > bankTable[static_cast<std::size_t>(row)].lastProgram)
        return -1;
    return program;
}

} // namespace cs6
