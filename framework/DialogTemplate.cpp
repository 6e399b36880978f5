#include "framework/DialogTemplate.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>

namespace cs6 {
namespace {

// 8-point "MS Sans Serif" at 96 dpi: the templates' font, and its metrics.
constexpr int kTemplatePointSize = 8;
constexpr double kTemplateDpi = 96.0;
constexpr double kTemplateAverageWidth = 6.0;
constexpr double kTemplateLineHeight = 13.0;

// A list's field keeps its text this far from either side; its letters are
// narrowed to no less than this share of their width.
constexpr int kFieldMargin = 2;
constexpr int kNarrowestStretch = 50;

bool IsTemplateSansSerif(std::string_view fontName)
{
    return fontName.empty() || fontName == "MS Sans Serif" || fontName == "MS Shell Dlg";
}

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

double LogicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : kTemplateDpi;
}

struct Metrics {
    double averageWidth;
    double lineHeight;
};

Metrics Measure(const QFont& font)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0,
            metrics.height()};
}

// The metrics the template's layout was made for, in pixels at this screen's
// resolution. A font of another name was measured where it was drawn, so it
// is measured here too.
Metrics TemplateMetrics(std::string_view fontName, int pointSize)
{
    if (!IsTemplateSansSerif(fontName)) {
        QFont font(Text(fontName));
        font.setPointSize(pointSize);
        return Measure(font);
    }
    const double scale = LogicalDpi() / kTemplateDpi * pointSize / kTemplatePointSize;
    return {kTemplateAverageWidth * scale, kTemplateLineHeight * scale};
}

int WidestItem(const QComboBox& combo, const QFont& font)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int i = 0; i < combo.count(); ++i)
        widest = std::max(widest, metrics.size(0, combo.itemText(i)).width());
    return widest;
}

void FitItems(QComboBox& combo)
{
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const int room =
        combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo).width() -
        2 * kFieldMargin;
    QFont font = combo.parentWidget() ? combo.parentWidget()->font() : QFont();
    const int widest = WidestItem(combo, font);
    if (widest > room) {
        for (int stretch = std::max(kNarrowestStretch, 100 * room / widest); stretch >= kNarrowestStretch; --stretch) {
            font.setStretch(stretch);
            if (WidestItem(combo, font) <= room)
                break;
        }
    }
    combo.setFont(font);
}

} // namespace

void KeepItemsInsideField(QComboBox* combo)
{
    auto fit = [combo] { FitItems(*combo); };
    QAbstractItemModel* items = combo->model();
    QObject::connect(items, &QAbstractItemModel::rowsInserted, combo, fit);
    QObject::connect(items, &QAbstractItemModel::rowsRemoved, combo, fit);
    QObject::connect(items, &QAbstractItemModel::modelReset, combo, fit);
    QObject::connect(items, &QAbstractItemModel::dataChanged, combo, fit);
    fit();
}

void KeepTextsClearOfNeighbours(QWidget& dialog)
{
    const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        auto* label = qobject_cast<QLabel*>(control);
        if (!label)
            continue;
        const QRect own = label->geometry();
        int left = 0;
        int right = 0;
        for (const QWidget* other : controls) {
            const QRect theirs = other->geometry();
            if (other == label || !theirs.intersects(own) || theirs.contains(own))
                continue;
            if (theirs.center().x() > own.center().x())
                right = std::max(right, own.right() - theirs.left() + 2);
            else
                left = std::max(left, theirs.right() - own.left() + 2);
        }
        if (left > 0 || right > 0)
            label->setContentsMargins(left, 0, right, 0);
    }
}

QFont TemplateFont(std::string_view fontName, int pointSize)
{
    if (!IsTemplateSansSerif(fontName)) {
        QFont font(Text(fontName));
        font.setPointSize(pointSize);
        return font;
    }
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    const Metrics room = TemplateMetrics(fontName, pointSize);
    // From the line height down, the first size that takes no more room.
    for (int pixels = static_cast<int>(std::floor(room.lineHeight)); pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        const Metrics drawn = Measure(font);
        if (drawn.averageWidth <= room.averageWidth && drawn.lineHeight <= room.lineHeight)
            break;
    }
    return font;
}

DialogUnits::DialogUnits(std::string_view fontName, int pointSize)
{
    const Metrics metrics = TemplateMetrics(fontName, pointSize);
    averageWidth_ = metrics.averageWidth;
    height_ = metrics.lineHeight;
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
