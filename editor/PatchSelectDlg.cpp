#include "editor/PatchSelectDlg.h"

#include <QComboBox>
#include <QPushButton>

#include "editor/BankLists.h"
#include "resources/DialogTemplates.h"

namespace cs6 {

using namespace patch_select;

PatchSelectDlg::PatchSelectDlg(QWidget* parent) : TemplateDialog(PatchSelectTemplate(), parent)
{
    setObjectName(QStringLiteral("PatchSelectDlg"));
    FillBankList(*BankList());
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

// The first bank choice leaves the list without a selection.
void PatchSelectDlg::FillProgramList()
{
    const int row = ChosenBank();
    if (row >= 0)
        cs6::FillProgramList(*ProgramList(), bankTable[static_cast<std::size_t>(row)], false);
    else
        ProgramList()->clear();
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
    return row >= kFirstListedBank && row <= kLastListedBank ? row : -1;
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
