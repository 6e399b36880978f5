#include "controls/QvScrollableWndCtrl.h"

#include <cmath>

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

QvScrollableWndCtrl::QvScrollableWndCtrl(QWidget* parent)
    : QAbstractButton(parent)
{
    for (const char* name : {"type", "id1", "id2", "left", "right", "top", "bottom"})
        items_.AddColumnName(name);
    items_.SetColumnCount(items_.ColumnNameCount());

    // Moves without a button are needed for hovering to take the focus.
    setMouseTracking(true);
    // Each paint covers the whole control; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QvScrollableWndCtrl::~QvScrollableWndCtrl() = default;

void QvScrollableWndCtrl::AddItem(std::uint32_t type, std::uint32_t id1, std::uint32_t id2, int left, int top,
                                  int right, int bottom)
{
    const std::uint32_t row = items_.AddRow();
    items_.SetUnsignedByName(row, "type", type);
    items_.SetUnsignedByName(row, "id1", id1);
    items_.SetUnsignedByName(row, "id2", id2);
    items_.SetSignedByName(row, "left", left);
    items_.SetSignedByName(row, "right", right);
    items_.SetSignedByName(row, "top", top);
    items_.SetSignedByName(row, "bottom", bottom);
}

int QvScrollableWndCtrl::HitTest(QPoint point) const
{
    for (std::uint32_t row = items_.RowCount(); row-- > 0;) {
        const int left = items_.GetSignedByName(row, "left");
        const int right = items_.GetSignedByName(row, "right");
        const int top = items_.GetSignedByName(row, "top");
        const int bottom = items_.GetSignedByName(row, "bottom");
        if (left <= point.x() && top <= point.y() && point.x() <= right && point.y() <= bottom)
            return static_cast<int>(row);
    }
    return -1;
}

void QvScrollableWndCtrl::paintEvent(QPaintEvent* /*event*/)
{
    QPainter screen(this);
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return;
    // At the pixel ratio of what is really painted on (a scaled screen's
    // backing store, a grab's pixmap) rather than the widget's own, so that
    // the picture is drawn at full resolution.
    const qreal ratio = screen.paintEngine()->paintDevice()->devicePixelRatioF();
    const int pixelWidth = static_cast<int>(std::ceil(w * ratio));
    const int pixelHeight = static_cast<int>(std::ceil(h * ratio));
    if (!pictureBuffer_ || pictureBuffer_->Width() != pixelWidth || pictureBuffer_->Height() != pixelHeight ||
        pictureBuffer_->DevicePixelRatio() != ratio)
        pictureBuffer_ = std::make_unique<cs6::DibBuffer>(pixelWidth, pixelHeight, ratio);

    QImage target = pictureBuffer_->View();
    QPainter memory(&target);
    DrawContent(memory, w, h);
    memory.end();
    OnAfterDraw();
    pictureBuffer_->Present(screen, QPoint(0, 0));
}

void QvScrollableWndCtrl::OnItemButtonUp(int, int, int, int, int) {}
void QvScrollableWndCtrl::OnItemDrag(int, int, int, int, int) {}
void QvScrollableWndCtrl::OnAfterDraw() {}
void QvScrollableWndCtrl::OnCaptureLost() {}

void QvScrollableWndCtrl::BeginCapture(Qt::MouseButton button, QPoint point)
{
    pressPoint_ = point;
    pressRow_ = HitTest(point);
    // Qt's implicit grab delivers the moves and the release to this control
    // until the button comes up; the flag says whether that grab still holds.
    capturing_ = true;
    captureButton_ = button;
}

void QvScrollableWndCtrl::LoseCapture()
{
    if (!capturing_)
        return;
    capturing_ = false;
    OnCaptureLost();
}

void QvScrollableWndCtrl::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (capturing_ && (button == captureButton_ || !(event->buttons() & captureButton_)))
        LoseCapture(); // that button's release went elsewhere
    if (capturing_)
        return; // a second button while the first one drags: the first keeps the capture
    BeginCapture(button, event->position().toPoint());
}

void QvScrollableWndCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers the second press, which took the capture, before this; a
    // double-click means nothing more.
    event->accept();
}

void QvScrollableWndCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (capturing_ && button != captureButton_) {
        if (event->buttons() & captureButton_)
            return; // the second button's release; the drag goes on
        LoseCapture();
    }
    if (capturing_) {
        capturing_ = false;
    } else {
        pressPoint_ = kLostPressPoint;
        pressRow_ = -1;
    }
    if (button != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint release = event->position().toPoint();
    OnItemButtonUp(HitTest(release), pressPoint_.x(), pressPoint_.y(), release.x(), release.y());
}

void QvScrollableWndCtrl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    setFocus(Qt::MouseFocusReason);
    if (capturing_ && !(event->buttons() & captureButton_))
        LoseCapture(); // the button came up outside this control
    if (capturing_) {
        const QPoint point = event->position().toPoint();
        OnItemDrag(pressRow_, pressPoint_.x(), pressPoint_.y(), point.x(), point.y());
    }
}

void QvScrollableWndCtrl::hideEvent(QHideEvent* event)
{
    LoseCapture();
    QAbstractButton::hideEvent(event);
}

bool QvScrollableWndCtrl::event(QEvent* event)
{
    // Qt passes a window's deactivation on to its visible children.
    if (event->type() == QEvent::WindowDeactivate)
        LoseCapture();
    return QAbstractButton::event(event);
}

void QvScrollableWndCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        LoseCapture();
    QAbstractButton::changeEvent(event);
}

void QvScrollableWndCtrl::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::PopupFocusReason)
        LoseCapture();
    QAbstractButton::focusOutEvent(event);
}
