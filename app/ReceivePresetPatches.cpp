#include "app/ReceivePresetPatches.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QProgressDialog>

#include "editor/CS6R_PerfMainEdig.h"
#include "editor/PerformanceLibraryWindow.h"
#include "framework/TemplateDialog.h"
#include "framework/UserMessage.h"
#include "synth/PresetFetch.h"

namespace cs6 {
namespace {

// "PRE2 voice 5 of 128": entry 0..263 as the user counts.
QString EntryLabel(int entry)
{
    if (entry < 256)
        return QStringLiteral("PRE%1 voice %2 of 128").arg(entry / 128 + 1).arg(entry % 128 + 1);
    return QStringLiteral("PRE drum kit %1 of 8").arg(entry - 256 + 1);
}

} // namespace

void ReceivePresetPatches(SynthDevice& device, CS6R_PerfMainEdig& mainDialog, QWidget* parent)
{
    const TemplateDialog::HoldPostedMessages hold;
    QProgressDialog progress(QStringLiteral("Receiving %1...").arg(EntryLabel(0)), QStringLiteral("Cancel"), 0,
                             kPresetEntries, parent);
    progress.setWindowTitle(QString::fromLatin1(kReceivePresetPatchesText));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);

    const BankReceipt receipt = ReceivePresetBanks(device, {}, [&progress](int done, int total) {
        if (done < total)
            progress.setLabelText(QStringLiteral("Receiving %1...").arg(EntryLabel(done)));
        progress.setValue(done);
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    // The editor's performance went back whole.
    mainDialog.History().MarkInStep();
    mainDialog.RefreshFromMemory();
    ShowMessageBox(receipt.Describe());
}

void AddReceivePresetButton(PerformanceLibraryWindow& library, SynthDevice& device, CS6R_PerfMainEdig& mainDialog)
{
    const QString text = QString::fromLatin1(kReceivePresetPatchesText);
    for (const QPushButton* button : library.findChildren<QPushButton*>())
        if (button->text() == text)
            return;
    auto* button = new QPushButton(text, &library);
    // After the librarian's own receive button, before the row's stretch.
    library.ReceiveRow()->insertWidget(1, button);
    QObject::connect(button, &QPushButton::clicked, &library,
                     [&device, &mainDialog, &library] { ReceivePresetPatches(device, mainDialog, &library); });
}

} // namespace cs6
