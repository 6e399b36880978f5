#include "framework/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/TemplateDialog.h"
#include "framework/UserMessage.h"

namespace cs6 {
namespace {

// The box belongs to the dialog the user works in: the innermost modal one
// (the editor itself runs modally), which is known also while another
// program has the focus and no window of this one is active.
QWidget* BoxParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void InstallGuiMessageBoxes(const QString& title)
{
    SetMessageBoxHandler([title](std::string_view text) {
        QMessageBox box(QMessageBox::NoIcon, title,
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
                        BoxParent());
        // The box's event loop runs no posted message while it is open.
        const TemplateDialog::HoldPostedMessages hold;
        box.exec();
    });
}

} // namespace cs6
