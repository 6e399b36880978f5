#pragma once
// QvScrollableWndCtrl: a button turned into an owner-drawn surface.
//
// - Every paint is drawn by DrawContent into a 32-bit DibBuffer and presented
//   from it; with cacheEnabled the kept picture is shown again while
//   cacheValid holds.
// - A table of rectangular items (type, id1, id2, edges in client pixels)
//   answers HitTest; a click whose press and release fall on the same item is
//   posted to itemTarget (wParam id1, lParam id2).
// - A press of the left or right button captures the mouse until that
//   button's release; every move meanwhile goes to OnItemDrag and every left
//   release to OnItemButtonUp, with the item hit at the press, however the
//   items have moved since. If the capture is lost first, OnCaptureLost runs
//   and the release reports the press point as (-100, -100) on no item.
// - Hovering takes the keyboard focus, while focusOwner (if set) is the
//   active window.
// - Content larger than the client area scrolls with scroll bars and the
//   wheel (SetScrollSizes).
//
// Thread: the user-interface thread only; item messages are posted events.

#include <cstdint>
#include <memory>

#include <QAbstractButton>
#include <QPoint>
#include <QPointer>

#include "controls/DibBuffer.h"
#include "controls/RecordTable.h"

class QScrollBar;

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

    // What a scroll bar asked for, in the terms of SetScrollSizes' bars. For the
    // horizontal bar LineUp means one line left, Top the left end, and so on.
    enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll };

    // The press point reported for a release whose capture was lost.
    static constexpr QPoint kLostPressPoint{-100, -100};

    Q_INVOKABLE explicit QvScrollableWndCtrl(QWidget* parent = nullptr);
    ~QvScrollableWndCtrl() override;

    // Takes the place of a template button: its parent, geometry, object name,
    // enabled state, visibility, tab position and layout slot. The button is
    // hidden and deleted later by the event loop.
    void ReplaceButton(QAbstractButton* button);
    // Places the control on parent over rect (parent coordinates).
    void PlaceOver(QWidget* parent, const QRect& rect);

    // Sets up both scroll bars for content of the given size; -1 means the
    // client size. A bar shows only while its content exceeds the client
    // area (the vertical one always, with alwaysShowVerticalBar).
    void SetScrollSizes(int contentHeight, int contentWidth);

    void AddItem(std::uint32_t type, std::uint32_t id1, std::uint32_t id2, int left, int top, int right, int bottom);
    void AddItem(std::uint32_t type, std::uint32_t id1, std::uint32_t id2, const ItemRect& rect);
    // The item under point, the one added last where items overlap; -1 for
    // none. Items are in client coordinates: scrolling does not move them.
    int HitTest(QPoint point) const;

    // Scroll-bar requests; thumbPosition is read for ThumbPosition and
    // ThumbTrack only. Both repaint at once, drawing afresh.
    void OnVScroll(ScrollCode code, int thumbPosition = 0);
    void OnHScroll(ScrollCode code, int thumbPosition = 0);

    int VerticalPosition() const { return verticalPosition_; }
    // Owners that want no scrolling set 0 before SetScrollSizes(-1, -1).
    void SetVerticalPosition(int position) { verticalPosition_ = position; }
    int VerticalPage() const { return verticalPage_; }
    int VerticalContentSize() const { return verticalContentSize_; }
    int HorizontalPosition() const { return horizontalPosition_; }
    int HorizontalPage() const { return horizontalPage_; }
    int HorizontalContentSize() const { return horizontalContentSize_; }
    bool VerticalBarShown() const { return verticalBarShown_; }
    bool HorizontalBarShown() const { return horizontalBarShown_; }
    // The highest position each bar allows.
    int VerticalScrollLimit() const;
    int HorizontalScrollLimit() const;

    // The drawing area: the widget less the visible scroll bars.
    QRect ClientRect() const;

    QPoint PressPoint() const { return pressPoint_; }
    QPoint ReleasePoint() const { return releasePoint_; }
    bool PressWasDoubleClick() const { return pressWasDoubleClick_; }
    bool HoldsCapture() const { return capturing_; }
    const cs6::RecordTable& Items() const { return items_; }
    // Null until the first paint.
    const cs6::DibBuffer* PictureBuffer() const { return pictureBuffer_.get(); }

    // Set directly by owners and derived classes.
    bool cacheValid = false;
    bool cacheEnabled = false;
    QPointer<QObject> itemTarget;
    unsigned clickMessage = 0;
    unsigned rightClickMessage = 0;
    unsigned doubleClickMessage = 0;
    QPointer<QWidget> focusOwner;
    bool alwaysShowVerticalBar = false;

protected:
    // Every left release, whatever the rows (-1 for none); PressRow() tells
    // the item of the press.
    virtual void OnItemButtonUp(int releaseRow, int pressX, int pressY, int releaseX, int releaseY);
    // Every move while this control holds the capture.
    virtual void OnItemDrag(int pressRow, int pressX, int pressY, int x, int y);
    // Draws the picture into painter, a w x h buffer. clip is the region of
    // innerRect, the client area less 3 pixels on every side.
    virtual void DrawContent(QPainter& painter, const QRect& clientRect, const QRect& fullRect,
                             const QRect& innerRect, const QRegion& clip, int w, int h);
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
    // Repaints at once, drawing afresh even over a valid cache.
    void RepaintUncached();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void BeginCapture(Qt::MouseButton button, QPoint point, bool doubleClick);
    void LoseCapture();
    void PostItemMessage(int row, unsigned message);
    void ShowVerticalBar(bool shown);
    void ShowHorizontalBar(bool shown);
    void LayoutScrollBars();
    int ScrollBarExtent() const;
    void OnScrollAction(Qt::Orientation orientation, int action);

    std::unique_ptr<cs6::DibBuffer> pictureBuffer_;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    int bufferBitDepth_ = 0;
    cs6::RecordTable items_;
    QPoint pressPoint_ = kLostPressPoint;
    int pressRow_ = -1;
    QPoint releasePoint_ = kLostPressPoint;
    bool pressWasDoubleClick_ = false;
    bool capturing_ = false;
    Qt::MouseButton captureButton_ = Qt::NoButton;
    int verticalContentSize_ = 0;
    int verticalPage_ = 0;
    int verticalPosition_ = 0;
    int horizontalContentSize_ = 0;
    int horizontalPage_ = 0;
    int horizontalPosition_ = 0;
    bool verticalBarShown_ = false;
    bool horizontalBarShown_ = false;
    QScrollBar* verticalBar_ = nullptr;   // child widget
    QScrollBar* horizontalBar_ = nullptr; // child widget
};

namespace cs6 {
using ::QvScrollableWndCtrl;
} // namespace cs6
