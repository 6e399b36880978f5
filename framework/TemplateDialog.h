#pragma once
// A dialog built from a template: its widgets are made from the table, found
// by id, and the calls posted to it (PostCall) run in turn. Child
// templates (no caption, no border) make widgets to embed in another dialog.
//
// Keys behave as in a Windows dialog: Enter presses the push button that has
// the focus; elsewhere it presses the default button, or ends a dialog that
// has none, as Escape does. Typed text in an editable list never chooses an
// item. The Tab order is the template's.
//
// Thread: the user-interface thread.

#include <QDialog>

#include <map>

#include "framework/DialogTemplate.h"
#include "framework/PostedCall.h"

namespace cs6 {

class TemplateDialog : public QDialog {
public:
    // While one lives, calls posted to every template dialog wait; after the
    // outermost one ends they run in the order they came. Every handler that
    // sends to the instrument or waits for it holds one (a posted call always
    // runs inside one), so that a message box or progress dialog it shows,
    // each with its own event loop, never runs another handler in the middle
    // of it.
    class HoldPostedMessages {
    public:
        HoldPostedMessages();
        ~HoldPostedMessages();
        HoldPostedMessages(const HoldPostedMessages&) = delete;
        HoldPostedMessages& operator=(const HoldPostedMessages&) = delete;
    };
    [[nodiscard]] static bool PostedMessagesHeld();

    TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent);

    // The control with this id, or null.
    QWidget* Control(int id) const;
    template <typename T>
    T* ControlAs(int id) const
    {
        return qobject_cast<T*>(Control(id));
    }

    // Shown, a dialog without a default button draws no push button as the
    // default but the one that has the focus.
    void setVisible(bool visible) override;

    const DialogUnits& Units() const { return units_; }
    const DialogTemplate& Template() const { return template_; }
    int TemplateId() const { return template_.id; }

protected:
    // Runs a posted call, or holds it while a handler is busy.
    void customEvent(QEvent* event) override;
    // Enter that no focused push button took ends a dialog that has no
    // default button, as Escape does; a child dialog leaves both to the
    // dialog it sits in.
    void keyPressEvent(QKeyEvent* event) override;

    // Replaces a control by another widget in its place, in the layout and
    // in the Tab order (faders take the place of their template buttons).
    void ReplaceControl(int id, QWidget* replacement);

private:
    void BuildControls();

    const DialogTemplate& template_;
    DialogUnits units_;
    std::map<int, QWidget*> controls_;
};

} // namespace cs6
