#include "framework/DialogTemplate.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QtMath>

#include <cmath>

namespace cs6 {

QFont TemplateFont(std::string_view fontName, int pointSize)
{
    QFont font;
    if (fontName == "MS Sans Serif" || fontName == "MS Shell Dlg" || fontName.empty()) {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
    } else {
        font = QFont(QString::fromUtf8(fontName.data(), static_cast<qsizetype>(fontName.size())));
    }
    font.setPointSize(pointSize);
    return font;
}

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    averageWidth_ = metrics.horizontalAdvance(letters) / 52.0;
    height_ = metrics.height();
}

int DialogUnits::X(int units) const { return static_cast<int>(std::lround(units * averageWidth_ / 4.0)); }

int DialogUnits::Y(int units) const { return static_cast<int>(std::lround(units * height_ / 8.0)); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const
{
    // Convert the edges, not the size, so neighbouring controls meet exactly.
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

} // namespace cs6
