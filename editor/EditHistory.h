#pragma once
// The performance's edit history: every edit the user makes in any editor
// window, one undo step per gesture, on the one QUndoStack the main window
// owns. An edit is made by pushing it: its first redo writes the memory and
// sends the change (SynthDevice::Edit), so recording and doing are one call.
// Undo and redo write the memory and send the same messages with the bytes
// before or after. A performance replaced as a whole (a request, a manual
// change detected, "Init Perf", a copied effect) is a step too, whose undo
// writes the previous performance back and transmits it whole.
//
// The stack is clean while the performance is as last received or sent
// whole; the main window marks its title otherwise.
//
// Thread: the user-interface thread only.

#include <QObject>
#include <QUndoStack>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "synth/SynthDevice.h"

class QWidget;

namespace cs6 {

// What a user's step is, for joining steps into one undo step.
enum class EditGesture {
    Single, // a list choice or a switch: a step of its own
    Moving, // a step of a drag: joins the same control's drag under way
    Done,   // a key or wheel step, the end of a drag, typed text: joins the same
            // control's drag under way, or its step before if less than
            // kJoinPause old
};

// Steps of one control closer together than this make one undo step.
inline constexpr std::chrono::milliseconds kJoinPause{500};

// One write of an edit: bytes from address on, sent as one parameter change,
// or with eachByte one message a byte (the name).
struct ParameterWrite {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;
    bool eachByte = false;
};

class EditHistory : public QObject {
    Q_OBJECT // Of() finds it by its class

public:
    // device is not owned and must outlive the history.
    EditHistory(SynthDevice& device, QObject* parent);

    // The history of the window object lies in, found through its parents;
    // null for a dialog on its own.
    static EditHistory* Of(const QObject* object);

    // The user's edit: the writes made in order and recorded as one step,
    // joined to the step before as gesture says. control tells the controls
    // apart for joining.
    void Edit(const void* control, EditGesture gesture, std::vector<ParameterWrite> writes);

    // Runs replace, which replaces the performance as a whole and says
    // whether it did. If it did, the change is one step and the performance
    // counts as in step with the instrument.
    void ReplacePerformance(const std::function<bool()>& replace);
    // The performance was received or sent whole.
    void MarkInStep();
    bool InStep() const { return stack_.isClean(); }

    void Undo();
    void Redo();
    // Undo (Ctrl+Z) and redo (Ctrl+Shift+Z, Ctrl+Y) in window and its
    // children, the line edits there included.
    void AddShortcuts(QWidget* window);

    const QUndoStack& Stack() const { return stack_; }

private:
    SynthDevice& device_;
    QUndoStack stack_;
    QObject* keyFilter_;
    int epoch_ = 0; // steps never join across an undo, a redo or a whole performance
};

// The edit through history, or straight through device when there is none.
void MakeEdit(EditHistory* history, SynthDevice& device, const void* control, EditGesture gesture,
              std::vector<ParameterWrite> writes);

} // namespace cs6
