#include "framework/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/UserMessage.h"

namespace cs6 {

void InstallGuiMessageBoxes(const QString& title)
{
    SetMessageBoxHandler([title](std::string_view text) {
        QMessageBox box(QMessageBox::NoIcon, title,
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
}

} // namespace cs6
