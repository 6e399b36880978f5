// Every text of every dialog fits the control that shows it: labels (wrapped
// where they wrap), buttons and switches in both states, every item of every
// list, and a fader's value at every position. ctest runs this at 96 and at
// 192 dpi, so the layout is checked at both scales.
#include <QLabel>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QtMath>

#include <algorithm>

#include "editor/CS6R_PartMatrix.h"
#include "editor/CS6R_PerfPartEdit.h"
#include "editor/CS6R_PerfPartRecv.h"
#include "midi/MidiSetupDlg.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;

namespace {

// "108/control1018", or "107/QFrame@509,8" for a control without an id.
QString Where(const QWidget* control)
{
    const auto* dialog = dynamic_cast<const TemplateDialog*>(control->parentWidget());
    QString name = control->objectName();
    if (name.isEmpty())
        name = QString::asprintf("%s@%d,%d", control->metaObject()->className(), control->x(), control->y());
    return QString::number(dialog ? dialog->TemplateId() : 0) + u'/' + name;
}

// Where a label draws its text, in its dialog.
QRect TextArea(const QLabel& label)
{
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    return label.fontMetrics().boundingRect(label.contentsRect(), flags, label.text()).translated(label.pos());
}

// The texts of one control that do not fit it, as "where: text".
void CollectClipped(const QWidget* control, QStringList& clipped)
{
    auto clip = [&](const QString& text) { clipped << Where(control) + QStringLiteral(": ") + text; };
    // text in space, or how much room it needs and has
    auto fit = [&](const QRect& space, const QString& text, int flags) {
        const QSize needed = control->fontMetrics().size(flags, text);
        if (needed.width() > space.width() || needed.height() > space.height())
            clip(text + QString::asprintf(" (%dx%d in %dx%d)", needed.width(), needed.height(), space.width(), space.height()));
    };
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        // The label's own measure: its widest word (the whole text unless it
        // wraps), and its height when laid out at its width.
        if (label->minimumSizeHint().width() > label->width() ||
            label->heightForWidth(label->width()) > label->height())
            clip(label->text());
        // Nor does another control, or another label's text, cover its text
        // or touch it.
        const QRect text = TextArea(*label).adjusted(-1, 0, 1, 0);
        const QWidget* dialog = label->parentWidget();
        for (const QWidget* other : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const auto* otherLabel = qobject_cast<const QLabel*>(other);
            const QRect covered = otherLabel ? TextArea(*otherLabel) : other->geometry();
            if (other != label && other->isVisibleTo(dialog) && covered.intersects(text) &&
                !other->geometry().contains(label->geometry()))
                clip(label->text() + QStringLiteral(" under ") + Where(other));
        }
    } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->isFlat())
            option.features |= QStyleOptionButton::Flat;
        fit(button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button), button->text(),
            Qt::TextShowMnemonic);
    } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        // The field keeps its text a little off its edges, as an edit field does.
        const QRect space = combo->style()
                                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                                .adjusted(2, 0, -2, 0);
        for (int i = 0; i < combo->count(); ++i)
            fit(space, combo->itemText(i), 0);
    }
}

// The value texts of dialog's faders, at every position, that reach a
// fader's sides: one entry per fader, naming the first. The text lies on the
// face under the track and under the thumb at its lowest.
void CollectClippedValues(const QWidget& dialog, QStringList& clipped)
{
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        auto* fader = dynamic_cast<FaderControl*>(control);
        if (!fader)
            continue;
        const QRgb face = fader->palette().color(QPalette::Button).rgb();
        fader->SetValue(static_cast<int>(fader->Minimum()));
        const qreal ratio = fader->grab().devicePixelRatio(); // the first paint fits the track to the size
        const int top = qCeil(std::max(fader->TrackBottom() + 1, fader->ThumbRect().bottom) * ratio);
        QStringList cut;
        for (int value = static_cast<int>(fader->Minimum()); value <= static_cast<int>(fader->Maximum()); ++value) {
            fader->SetValue(value);
            const QImage image = fader->grab().toImage();
            for (int y = top; y < image.height(); ++y) {
                if (image.pixel(0, y) != face || image.pixel(image.width() - 1, y) != face) {
                    cut << fader->Label();
                    break;
                }
            }
        }
        if (!cut.isEmpty())
            clipped << Where(fader) + QStringLiteral(": %1 values, %2 first").arg(cut.size()).arg(cut.front());
    }
}

// Every control of dialog and of the template dialogs inside it.
void CollectClippedIn(const QWidget& dialog, QStringList& clipped)
{
    for (const QWidget* control : dialog.findChildren<QWidget*>())
        if (control->isVisibleTo(&dialog))
            CollectClipped(control, clipped);
}

// Every text of dialog: each fader's values, every control as the dialog
// opens, after each switch pressed in turn (a radio's press shows another part
// in the strip), and with every bank of the bank list banks in turn.
void CollectAllClipped(QWidget& dialog, QStringList& clipped, QComboBox* banks)
{
    CollectClippedValues(dialog, clipped);
    CollectClippedIn(dialog, clipped);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isCheckable() && button->isEnabled()) {
            button->click();
            CollectClippedIn(dialog, clipped);
            button->click();
        }
    }
    for (int i = 0; banks && i < banks->count(); ++i) {
        test::Choose(banks, i);
        CollectClippedIn(dialog, clipped);
    }
}

} // namespace

class TemplateLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void textsFitTheirControls()
    {
        test::EditorFixture fixture;
        fixture.LoadStoredSounds();
        CS6R_PerfMainEdig main(nullptr, &fixture.device); // with the part strip and the part selectors
        QVERIFY(main.InitDialog());
        CS6R_PerfPartEdit quickEdit(nullptr, &fixture.device, 0);
        CS6R_PerfPartRecv receiveSwitches(nullptr, &fixture.device, 0);
        PatchSelectDlg patchSelect(nullptr);
        MidiSetupDlg midiSetup(nullptr);
        QStringList clipped;
        for (const auto& [dialog, banks] : {std::pair<QWidget*, QComboBox*>{&main, main.PartStrip()->BankCombo()},
                                            {&quickEdit, nullptr}, {&receiveSwitches, nullptr},
                                            {&patchSelect, patchSelect.BankList()}, {&midiSetup, nullptr}})
            CollectAllClipped(*dialog, clipped, banks);
        clipped.removeDuplicates();
        QVERIFY2(clipped.isEmpty(), qPrintable(QStringLiteral("clipped:\n") + clipped.join(u'\n')));
    }
};

CS6_EDITOR_TEST(TemplateLayoutTest);
#include "TemplateLayoutTest.moc"
