#include "framework/TemplateDialog.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QValidator>

namespace cs6 {
namespace {

// Calls posted while a handler was busy, in order.
struct HeldCall {
    QPointer<QObject> target;
    std::function<void()> call;
};
int holdDepth = 0;
std::vector<HeldCall> heldCalls;

// The edit field of an editable list accepts only the text of the chosen
// item: typed text never chooses another, and when the user leaves the field
// or presses Enter the chosen item's text comes back. (Qt would otherwise
// choose an item whose text was typed, or completed inline, and report it as
// the user's choice.)
class ChosenItemOnly : public QValidator {
public:
    explicit ChosenItemOnly(QComboBox* combo) : QValidator(combo), combo_(combo) {}

    State validate(QString& text, int&) const override
    {
        return text == combo_->itemText(combo_->currentIndex()) ? Acceptable : Intermediate;
    }
    void fixup(QString& text) const override { text = combo_->itemText(combo_->currentIndex()); }

private:
    QComboBox* combo_;
};

bool HasDefaultButton(const DialogTemplate& dialogTemplate)
{
    return std::any_of(dialogTemplate.controls.begin(), dialogTemplate.controls.end(),
                       [](const ControlTemplate& c) { return c.kind == ControlKind::DefaultPushButton; });
}

// In a dialog without a default button only the push button that has the
// focus is drawn as the default. (Qt would draw the first push button so when
// the dialog shows, and later the last one that had the focus.)
void ShowOnlyFocusedDefault(QWidget* window)
{
    const auto* dialog = dynamic_cast<const TemplateDialog*>(window);
    if (!dialog || dialog->Template().child || HasDefaultButton(dialog->Template()))
        return;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->isDefault() && !button->hasFocus())
            button->setDefault(false);
    }
}

class TemplatePushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void focusOutEvent(QFocusEvent* event) override
    {
        QPushButton::focusOutEvent(event);
        ShowOnlyFocusedDefault(window());
    }
};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent, QButtonGroup*& radioGroup)
{
    const QString text = Text(control.text);
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(text, parent);
        label->setAlignment((control.style & kCentered ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        if (control.style & kSunken)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Labels more than a line high wrap their text.
        label->setWordWrap(control.height > 12);
        return label;
    }
    case ControlKind::Edit:
        return new QLineEdit(text, parent);
    case ControlKind::DropDownList:
    case ControlKind::DropDownCombo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(control.kind == ControlKind::DropDownCombo);
        // Text typed into the edit field never becomes an item: only the
        // items the program put there can be chosen.
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (combo->isEditable()) {
            combo->setCompleter(nullptr);
            combo->setValidator(new ChosenItemOnly(combo));
        }
        combo->setMaxVisibleItems(20);
        return combo;
    }
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::Fader: {
        auto* button = new TemplatePushButton(text, parent);
        // Enter presses the push button that has the focus.
        button->setAutoDefault(control.kind != ControlKind::Fader);
        button->setDefault(control.kind == ControlKind::DefaultPushButton);
        return button;
    }
    case ControlKind::PushLikeCheckBox:
    case ControlKind::PushLikeRadio: {
        auto* button = new QPushButton(text, parent);
        button->setCheckable(true);
        // A switch is no push button: Enter on it means the dialog's Enter.
        button->setAutoDefault(false);
        button->setFlat(control.style & kFlat);
        if (control.kind == ControlKind::PushLikeRadio) {
            if (!radioGroup || (control.style & kGroupStart)) {
                radioGroup = new QButtonGroup(parent);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(button);
        }
        return button;
    }
    case ControlKind::EtchedFrame: {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case ControlKind::EtchedLine: {
        auto* line = new QFrame(parent);
        line->setFrameStyle((control.width <= control.height ? QFrame::VLine : QFrame::HLine) | QFrame::Sunken);
        return line;
    }
    case ControlKind::SunkenRule: {
        auto* rule = new QFrame(parent);
        rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        return rule;
    }
    }
    return nullptr;
}

} // namespace

TemplateDialog::HoldPostedMessages::HoldPostedMessages() { ++holdDepth; }

TemplateDialog::HoldPostedMessages::~HoldPostedMessages()
{
    if (--holdDepth > 0)
        return;
    // Queued again ahead of everything posted since, so that they keep their
    // place; the event queue takes ownership of the events.
    for (HeldCall& held : std::exchange(heldCalls, {}))
        PostCall(held.target, std::move(held.call), Qt::HighEventPriority);
}

bool TemplateDialog::PostedMessagesHeld() { return holdDepth > 0; }

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), template_(dialogTemplate), units_(dialogTemplate.fontName, dialogTemplate.pointSize)
{
    setFont(TemplateFont(template_.fontName, template_.pointSize));
    if (template_.child) {
        setWindowFlags(Qt::Widget);
    } else {
        setWindowTitle(Text(template_.caption));
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    }
    setFixedSize(units_.X(template_.width), units_.Y(template_.height));
    BuildControls();
    KeepTextsClearOfNeighbours(*this);
}

void TemplateDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        ShowOnlyFocusedDefault(this);
}

void TemplateDialog::BuildControls()
{
    QButtonGroup* radioGroup = nullptr;
    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = MakeControl(control, this, radioGroup);
        QRect geometry = units_.ToPixels(control.x, control.y, control.width, control.height);
        if (control.kind == ControlKind::DropDownList || control.kind == ControlKind::DropDownCombo) {
            // A combo's template height is that of its open list; closed, it
            // is one line high.
            geometry.setHeight(widget->sizeHint().height());
        }
        widget->setGeometry(geometry);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            KeepItemsInsideField(combo);
        widget->setEnabled(!(control.style & kDisabled));
        if (control.id != kNoId) {
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
            controls_[control.id] = widget;
        }
    }
}

QWidget* TemplateDialog::Control(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void TemplateDialog::ReplaceControl(int id, QWidget* replacement)
{
    QWidget* old = Control(id);
    if (!old || !replacement)
        return;
    replacement->setParent(this);
    replacement->setGeometry(old->geometry());
    replacement->setObjectName(old->objectName());
    replacement->setEnabled(old->isEnabled());
    replacement->show();
    QWidget::setTabOrder(old, replacement);
    controls_[id] = replacement;
    old->deleteLater();
    old->hide();
}

void TemplateDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (template_.child && (enter || event->key() == Qt::Key_Escape)) {
        event->ignore();
        return;
    }
    if (enter && !HasDefaultButton(template_)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TemplateDialog::customEvent(QEvent* event)
{
    if (event->type() == PostedCall::Type()) {
        const auto& posted = *static_cast<PostedCall*>(event);
        if (PostedMessagesHeld()) {
            heldCalls.push_back({this, posted.Call()});
            return;
        }
        HoldPostedMessages hold;
        posted.Run();
        return;
    }
    QDialog::customEvent(event);
}

} // namespace cs6
