#pragma once
// FaderControl: a narrow vertical fader. A raised thumb slides along a
// one-pixel track, and the value's text, from a ValueFormatter, sits under the
// track. The value is a double between min and max; owners read it when the
// fader tells them of a change and truncate it to an integer.
//
// Changes are told by calling notify with the step, posted to notifyTarget
// (never run at once; see PostCall) and carrying no value:
// - FaderStep::Drag at every step of a left-button drag that began on the
//   thumb, even when the value did not change;
// - FaderStep::Release when that drag ends: the left button comes up after
//   a press on the thumb (so a click without a move posts this alone), or
//   the capture is lost mid-drag;
// - for a key (Up/Down one unit, Page Up/Down ten, Home/End the range's ends)
//   or a wheel notch (one unit) that changes the value, Release alone: each
//   step is a complete change, and the owner sends it once.
// So Drag always means "a drag is under way" and Release "a change is
// complete".
// A right-button drag changes nothing. SetRange and SetValue neither clamp,
// repaint nor post; a value outside the range is drawn off the track. During
// a drag they move the value to the pointer: the drag goes on from there.
//
// The geometry follows the control's size at the first paint after
// construction or a resize. Owners may change the thumb size before that.
//
// Thread: the user-interface thread only.

#include <functional>
#include <optional>

#include <QFont>
#include <QPointer>
#include <QString>

#include "controls/QvScrollableWndCtrl.h"
#include "controls/ValueFormatter.h"
#include "framework/PostedCall.h"

namespace cs6 {

enum class FaderStep { Drag, Release };

class FaderControl : public QvScrollableWndCtrl {
    // No Q_OBJECT on purpose: a fader reports the panel's run-time class.
public:
    explicit FaderControl(QWidget* parent = nullptr);

    // Stores the range and value and places the thumb for them.
    void SetRange(double min, double max, double value);
    // Sets the value and its text and places the thumb; owners repaint.
    void SetValue(int v);
    // Relabels the current value with formatter (not owned) in mode.
    void SetFormatter(const ValueFormatter* formatter, int mode);
    void SetThumbSize(int width, int height);

    double Value() const { return value_; }
    double Minimum() const { return min_; }
    double Maximum() const { return max_; }
    const QString& Label() const { return label_; }
    // The value the running drag counts from; -1 when no drag runs.
    int DragAnchor() const { return dragging_ ? dragAnchor_ : -1; }
    int TrackTop() const { return trackTop_; }
    int TrackBottom() const { return trackBottom_; }
    int ThumbY() const { return thumbY_; }
    // The thumb in client coordinates; right and bottom lie just outside the
    // painted thumb.
    ItemRect ThumbRect() const;

    // Set directly by the owner: notify runs as a call posted to
    // notifyTarget, so it may touch only what lives as long as notifyTarget
    // (the queue drops the call of a target that is gone). Nothing is posted
    // without both.
    QPointer<QObject> notifyTarget;
    std::function<void(FaderStep)> notify;

protected:
    // At every step of a drag.
    virtual void OnValueChanging(int value);
    // When a change is complete: a drag ended, a key or wheel step.
    virtual void OnValueChanged(int value);

    void OnItemButtonUp(int releaseRow, int pressX, int pressY, int releaseX, int releaseY) override;
    void OnItemDrag(int pressRow, int pressX, int pressY, int x, int y) override;
    void DrawContent(QPainter& painter, int w, int h) override;
    void OnCaptureLost() override;

    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void InitGeometry(int width, int height);
    void UpdateThumbItem();
    int ThumbYFor(double value) const;
    void Reanchor();
    void EndDrag();
    void StepTo(double target);
    void Notify(FaderStep step);

    DecimalFormatter defaultFormatter_;
    bool geometryReady_ = false;
    int textOffset_ = 0;
    int thumbWidth_ = 28;
    int thumbHeight_ = 10;
    int trackTop_ = 8;
    int trackBottom_ = 72;
    int thumbY_ = 40;
    int dragAnchor_ = -1;
    int dragDelta_ = 0;     // units the pointer has moved since the press
    bool dragging_ = false; // separate from the anchor, which may itself be -1
    double min_ = 0.0;
    double max_ = 0.0;
    double value_ = 0.0;
    double pixelsPerUnit_ = 1.0;
    QString label_;
    std::optional<QFont> font_;
    const ValueFormatter* formatter_ = &defaultFormatter_;
    int formatterMode_ = 0;
    int wheelRemainder_ = 0; // wheel delta short of a whole notch
};

} // namespace cs6
