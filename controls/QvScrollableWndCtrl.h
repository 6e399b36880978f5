#pragma once
// QvScrollableWndCtrl: a button turned into an owner-drawn surface.
//
// - Every paint is drawn by DrawContent into a DibBuffer at the pixel ratio
//   of the device painted on, and presented from it.
// - A table of rectangular items (type, id1, id2, edges in client pixels)
//   answers HitTest.
// - A press of the left or right button captures the mouse until that
//   button's release; every move meanwhile goes to OnItemDrag and every left
//   release to OnItemButtonUp, with the item hit at the press, however the
//   items have moved since. If the capture is lost first, OnCaptureLost runs
//   and the release reports the press point as (-100, -100) on no item.
// - Hovering takes the keyboard focus.
// - The content is the control's whole area; it does not scroll.
//
// Thread: the user-interface thread only.

#include <cstdint>
#include <memory>

#include <QAbstractButton>
#include <QPoint>

#include "controls/DibBuffer.h"
#include "controls/RecordTable.h"

// moc names a meta-object after the class's full scope. The control keeps its
// library prefix at global scope so that Qt reports the run-time class name as
// exactly "QvScrollableWndCtrl"; namespace cs6 takes it in with a
// using-declaration below. Derived classes add no run-time class of their own.
class QvScrollableWndCtrl : public QAbstractButton {
    Q_OBJECT

public:
    // Item edges; all four are inside the item (right and bottom included).
    struct ItemRect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    // The press point reported for a release whose capture was lost.
    static constexpr QPoint kLostPressPoint{-100, -100};

    explicit QvScrollableWndCtrl(QWidget* parent = nullptr);
    ~QvScrollableWndCtrl() override;

    // The owners' set-up asks for no scrolling with these, (0) and (-1, -1);
    // as the panel never scrolls, they change nothing.
    void SetVerticalPosition(int /*position*/) {}
    void SetScrollSizes(int /*contentHeight*/, int /*contentWidth*/) {}

    void AddItem(std::uint32_t type, std::uint32_t id1, std::uint32_t id2, int left, int top, int right, int bottom);
    // The item under point, the one added last where items overlap; -1 for
    // none.
    int HitTest(QPoint point) const;

    bool HoldsCapture() const { return capturing_; }
    const cs6::RecordTable& Items() const { return items_; }
    // Null until the first paint.
    const cs6::DibBuffer* PictureBuffer() const { return pictureBuffer_.get(); }

protected:
    // Every left release, whatever the rows (-1 for none); PressRow() tells
    // the item of the press.
    virtual void OnItemButtonUp(int releaseRow, int pressX, int pressY, int releaseX, int releaseY);
    // Every move while this control holds the capture.
    virtual void OnItemDrag(int pressRow, int pressX, int pressY, int x, int y);
    // Draws the picture of w x h logical pixels into painter.
    virtual void DrawContent(QPainter& painter, int w, int h) = 0;
    // Runs after drawing, before the picture is presented.
    virtual void OnAfterDraw();
    // The capture ended before its button came up: the window lost activation,
    // a popup opened, the control was hidden or disabled, or the release went
    // elsewhere and a later event showed the button up.
    virtual void OnCaptureLost();

    // The button whose press holds (or last held) the capture.
    Qt::MouseButton CaptureButton() const { return captureButton_; }
    // The item hit at that press; -1 for none or once the capture was lost.
    int PressRow() const { return pressRow_; }
    cs6::RecordTable& ItemTable() { return items_; }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void BeginCapture(Qt::MouseButton button, QPoint point);
    void LoseCapture();

    std::unique_ptr<cs6::DibBuffer> pictureBuffer_;
    cs6::RecordTable items_;
    QPoint pressPoint_ = kLostPressPoint;
    int pressRow_ = -1;
    bool capturing_ = false;
    Qt::MouseButton captureButton_ = Qt::NoButton;
};

namespace cs6 {
using ::QvScrollableWndCtrl;
} // namespace cs6
