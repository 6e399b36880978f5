#pragma once
// The bank and program lists of the dialogs that choose a stored sound (the
// part strip, "Select patch"): the banks offered, and each program's label.
//
// Thread: the user-interface thread only.

#include <QString>

#include "synth/NameTables.h"

class QComboBox;

namespace cs6 {

// The bankTable rows offered: the normal-voice banks PRE1 .. PLG2 and the
// drum banks, the ones a sound can be chosen from.
inline constexpr int kFirstListedBank = kBankPre1;
inline constexpr int kLastListedBank = kBankExtDrum;

// A program's label: its number from 1, then the category code and name of
// the stored voice, or the name of the stored kit, where the editor keeps
// one. Stored names are single bytes, whatever their top bit.
QString ProgramLabel(const BankEntry& bank, int program);

// The listed banks by name, each item's data its bankTable row.
void FillBankList(QComboBox& list);

// The programs of bank. The program chosen before stays chosen where bank
// has it, else the first is; none chosen stays none unless firstWhenNone.
void FillProgramList(QComboBox& list, const BankEntry& bank, bool firstWhenNone);

} // namespace cs6
