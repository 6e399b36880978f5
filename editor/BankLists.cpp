#include "editor/BankLists.h"

#include <QComboBox>

namespace cs6 {

QString ProgramLabel(const BankEntry& bank, int program)
{
    const QString number = QString::number(program + 1);
    if (const NormalVoice* voice = bank.NormalVoiceAt(program))
        return QStringLiteral("%1  %2:  %3")
            .arg(number, QString::fromLatin1(voice->GetCategoryCode()), QString::fromLatin1(voice->GetName()));
    if (const DrumVoice* kit = bank.DrumVoiceAt(program))
        return QStringLiteral("%1  %2").arg(number, QString::fromLatin1(kit->GetName()));
    return number;
}

void FillBankList(QComboBox& list)
{
    for (int row = kFirstListedBank; row <= kLastListedBank; ++row)
        list.addItem(QString::fromStdString(bankTable[static_cast<std::size_t>(row)].name), row);
}

void FillProgramList(QComboBox& list, const BankEntry& bank, bool firstWhenNone)
{
    const int previous = list.currentIndex();
    list.clear();
    for (int program = 0; program <= bank.lastProgram; ++program)
        list.addItem(ProgramLabel(bank, program));
    if (previous < 0 && !firstWhenNone)
        list.setCurrentIndex(-1);
    else
        list.setCurrentIndex(previous >= 0 && previous <= bank.lastProgram ? previous : 0);
}

} // namespace cs6
