#include "controls/QvScrollableWndCtrl.h"

#include <algorithm>

#include <QApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "framework/PostedMessage.h"

namespace {

constexpr int kVerticalLineStep = 4;   // pixels per scroll-bar arrow click
constexpr int kHorizontalLineStep = 8;
constexpr int kWheelDeltaPerNotch = 120;
constexpr int kPixelsPerNotch = 40;

// A bar's range runs from 0 to the content size inclusive, so the highest
// position leaves one page plus one pixel.
int ScrollLimitFor(int content, int page)
{
    return std::max(0, content - page + 1);
}

QvScrollableWndCtrl::ScrollCode CodeForAction(int action)
{
    using Code = QvScrollableWndCtrl::ScrollCode;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return Code::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return Code::LineDown;
    case QAbstractSlider::SliderPageStepSub:
        return Code::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return Code::PageDown;
    case QAbstractSlider::SliderToMinimum:
        return Code::Top;
    case QAbstractSlider::SliderToMaximum:
        return Code::Bottom;
    case QAbstractSlider::SliderMove:
        return Code::ThumbTrack;
    default:
        return Code::EndScroll;
    }
}

// The new position for a scroll request from p, with the given line step.
int ScrolledPosition(QvScrollableWndCtrl::ScrollCode code, int p, int limit, int page, int lineStep,
                     int thumbPosition)
{
    using Code = QvScrollableWndCtrl::ScrollCode;
    switch (code) {
    case Code::LineUp:
        return std::max(p - lineStep, 0);
    case Code::LineDown:
        return std::min(p + lineStep, limit);
    case Code::PageUp:
        return p - page < 1 ? 0 : p - page;
    case Code::PageDown:
        return std::min(p + page, limit);
    case Code::ThumbPosition:
    case Code::ThumbTrack:
        return thumbPosition;
    case Code::Top:
        return 0;
    case Code::Bottom:
        return limit;
    case Code::EndScroll:
        break;
    }
    return p;
}

} // namespace

QvScrollableWndCtrl::QvScrollableWndCtrl(QWidget* parent)
    : QAbstractButton(parent),
      verticalBar_(new QScrollBar(Qt::Vertical, this)),
      horizontalBar_(new QScrollBar(Qt::Horizontal, this))
{
    for (const char* name : {"type", "id1", "id2", "left", "right", "top", "bottom"})
        items_.AddColumnName(name);
    items_.SetColumnCount(items_.ColumnNameCount());

    // Moves without a button are needed for hovering to take the focus.
    setMouseTracking(true);
    // Each paint covers the client area; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    for (QScrollBar* bar : {verticalBar_, horizontalBar_}) {
        bar->setRange(0, 0);
        bar->hide();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { OnScrollAction(bar->orientation(), action); });
    }
    verticalBar_->setSingleStep(kVerticalLineStep);
    horizontalBar_->setSingleStep(kHorizontalLineStep);
}

QvScrollableWndCtrl::~QvScrollableWndCtrl() = default;

void QvScrollableWndCtrl::ReplaceButton(QAbstractButton* button)
{
    if (!button)
        return;
    QWidget* parent = button->parentWidget();
    setParent(parent);
    setGeometry(button->geometry());
    setObjectName(button->objectName());
    setEnabled(button->isEnabled());
    if (parent && parent->layout()) {
        // The layout hands back the button's old item, which is ours to free.
        std::unique_ptr<QLayoutItem> old(parent->layout()->replaceWidget(button, this));
    }
    if (parent) {
        QWidget::setTabOrder(button, this);
        setVisible(!button->isHidden());
    }
    button->hide();
    button->deleteLater();
}

void QvScrollableWndCtrl::PlaceOver(QWidget* parent, const QRect& rect)
{
    setParent(parent);
    setGeometry(rect);
    if (parent)
        show(); // with its parent; never as a window of its own
}

int QvScrollableWndCtrl::ScrollBarExtent() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QRect QvScrollableWndCtrl::ClientRect() const
{
    const int extent = ScrollBarExtent();
    const int w = width() - (verticalBarShown_ ? extent : 0);
    const int h = height() - (horizontalBarShown_ ? extent : 0);
    return QRect(0, 0, std::max(w, 0), std::max(h, 0));
}

void QvScrollableWndCtrl::LayoutScrollBars()
{
    const QRect client = ClientRect();
    const int extent = ScrollBarExtent();
    verticalBar_->setGeometry(client.width(), 0, extent, client.height());
    horizontalBar_->setGeometry(0, client.height(), client.width(), extent);
}

void QvScrollableWndCtrl::ShowVerticalBar(bool shown)
{
    verticalBarShown_ = shown;
    verticalBar_->setVisible(shown);
    LayoutScrollBars();
}

void QvScrollableWndCtrl::ShowHorizontalBar(bool shown)
{
    horizontalBarShown_ = shown;
    horizontalBar_->setVisible(shown);
    LayoutScrollBars();
}

int QvScrollableWndCtrl::VerticalScrollLimit() const
{
    return verticalBar_->maximum();
}

int QvScrollableWndCtrl::HorizontalScrollLimit() const
{
    return horizontalBar_->maximum();
}

void QvScrollableWndCtrl::SetScrollSizes(int contentHeight, int contentWidth)
{
    const QRect client = ClientRect();
    if (contentHeight == -1)
        contentHeight = client.height();
    if (contentWidth == -1)
        contentWidth = client.width();

    horizontalContentSize_ = contentWidth;
    horizontalPage_ = client.width();
    horizontalPosition_ = 0;
    if (contentWidth > client.width()) {
        horizontalBar_->setRange(0, ScrollLimitFor(contentWidth, client.width()));
        horizontalBar_->setPageStep(client.width());
        horizontalBar_->setValue(0);
        horizontalBar_->setEnabled(true);
        ShowHorizontalBar(true);
    } else {
        horizontalBar_->setRange(0, 0);
        ShowHorizontalBar(false);
    }

    // The horizontal bar may have taken room from the height.
    const int h2 = ClientRect().height();
    verticalContentSize_ = contentHeight;
    verticalPage_ = h2;
    if (contentHeight <= h2) {
        if (!alwaysShowVerticalBar) {
            verticalBar_->setRange(0, 0);
            ShowVerticalBar(false);
            return;
        }
        verticalPosition_ = 0;
    }
    verticalBar_->setRange(0, ScrollLimitFor(contentHeight, h2));
    verticalBar_->setPageStep(h2);
    verticalBar_->setValue(verticalPosition_);
    verticalBar_->setEnabled(true);
    ShowVerticalBar(true);
}

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

void QvScrollableWndCtrl::AddItem(std::uint32_t type, std::uint32_t id1, std::uint32_t id2, const ItemRect& rect)
{
    AddItem(type, id1, id2, rect.left, rect.top, rect.right, rect.bottom);
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

void QvScrollableWndCtrl::OnScrollAction(Qt::Orientation orientation, int action)
{
    QScrollBar* bar = orientation == Qt::Vertical ? verticalBar_ : horizontalBar_;
    // The bar has already moved its slider for the action; replace that with
    // this control's own step rules.
    if (orientation == Qt::Vertical)
        OnVScroll(CodeForAction(action), bar->sliderPosition());
    else
        OnHScroll(CodeForAction(action), bar->sliderPosition());
}

void QvScrollableWndCtrl::OnVScroll(ScrollCode code, int thumbPosition)
{
    const int p = ScrolledPosition(code, verticalBar_->value(), verticalBar_->maximum(), verticalPage_,
                                   kVerticalLineStep, thumbPosition);
    verticalBar_->setValue(p);
    verticalPosition_ = p;
    RepaintUncached();
}

void QvScrollableWndCtrl::OnHScroll(ScrollCode code, int thumbPosition)
{
    const int p = ScrolledPosition(code, horizontalBar_->value(), horizontalBar_->maximum(), horizontalPage_,
                                   kHorizontalLineStep, thumbPosition);
    horizontalBar_->setValue(p);
    horizontalPosition_ = p;
    RepaintUncached();
}

void QvScrollableWndCtrl::RepaintUncached()
{
    const bool saved = cacheValid;
    cacheValid = false;
    repaint();
    cacheValid = saved;
}

void QvScrollableWndCtrl::paintEvent(QPaintEvent* /*event*/)
{
    QPainter screen(this);
    if (verticalBarShown_ && horizontalBarShown_) {
        const int extent = ScrollBarExtent();
        screen.fillRect(width() - extent, height() - extent, extent, extent, palette().color(QPalette::Window));
    }
    const QRect client = ClientRect();
    const int w = client.width();
    const int h = client.height();
    if (w <= 0 || h <= 0)
        return;
    const QRect full(0, 0, w, h);
    const QRect inner = full.adjusted(3, 3, -3, -3);
    const QRegion clip(inner);

    if (!pictureBuffer_ || bufferWidth_ != w || bufferHeight_ != h || bufferBitDepth_ != 32) {
        pictureBuffer_ = std::make_unique<cs6::DibBuffer>(w, h, 32);
        bufferWidth_ = w;
        bufferHeight_ = h;
        bufferBitDepth_ = 32;
        // A new buffer holds no picture yet, whatever the cache said.
        cacheValid = false;
    }
    if (!cacheValid) {
        QImage target = pictureBuffer_->View();
        QPainter memory(&target);
        DrawContent(memory, client, full, inner, clip, w, h);
        memory.end();
        if (cacheEnabled)
            cacheValid = true;
    }
    OnAfterDraw();
    pictureBuffer_->Present(screen, 0, 0, 0, 0, w, h);
}

void QvScrollableWndCtrl::DrawContent(QPainter& painter, const QRect& /*clientRect*/, const QRect& fullRect,
                                      const QRect& /*innerRect*/, const QRegion& clip, int /*w*/, int /*h*/)
{
    painter.fillRect(fullRect, palette().color(QPalette::Light));
    painter.setClipRegion(clip);
    painter.translate(-horizontalPosition_, -verticalPosition_);
    painter.drawLine(0, 0, 400, 400);
    painter.drawLine(400, 0, 0, 400);
}

void QvScrollableWndCtrl::OnItemButtonUp(int, int, int, int, int) {}
void QvScrollableWndCtrl::OnItemDrag(int, int, int, int, int) {}
void QvScrollableWndCtrl::OnAfterDraw() {}
void QvScrollableWndCtrl::OnCaptureLost() {}

void QvScrollableWndCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    LayoutScrollBars();
}

void QvScrollableWndCtrl::BeginCapture(Qt::MouseButton button, QPoint point, bool doubleClick)
{
    pressPoint_ = point;
    pressRow_ = HitTest(point);
    pressWasDoubleClick_ = doubleClick;
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
    BeginCapture(button, event->position().toPoint(), false);
}

void QvScrollableWndCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    // Qt delivers the second press before the double-click; only the left
    // button's double-click means anything here.
    if (event->button() != Qt::LeftButton)
        return;
    if (capturing_ && captureButton_ != Qt::LeftButton) {
        if (event->buttons() & captureButton_)
            return;
        LoseCapture();
    }
    BeginCapture(Qt::LeftButton, event->position().toPoint(), true);
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

    if (button == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    if (capturing_) {
        capturing_ = false;
    } else {
        pressPoint_ = kLostPressPoint;
        pressRow_ = -1;
    }

    releasePoint_ = event->position().toPoint();
    const int releaseRow = HitTest(releasePoint_);
    const int pressRow = pressRow_;
    if (button == Qt::LeftButton)
        OnItemButtonUp(releaseRow, pressPoint_.x(), pressPoint_.y(), releasePoint_.x(), releasePoint_.y());
    if (releaseRow != pressRow || releaseRow == -1)
        return;
    if (button == Qt::RightButton)
        PostItemMessage(releaseRow, rightClickMessage);
    else
        PostItemMessage(releaseRow, pressWasDoubleClick_ ? doubleClickMessage : clickMessage);
}

void QvScrollableWndCtrl::PostItemMessage(int row, unsigned message)
{
    if (!itemTarget)
        return;
    const auto r = static_cast<std::uint32_t>(row);
    const std::uint32_t id1 = items_.GetUnsignedByName(r, "id1");
    const std::uint32_t id2 = items_.GetUnsignedByName(r, "id2");
    cs6::PostUserMessage(itemTarget.data(), message, id1, static_cast<qintptr>(id2));
}

void QvScrollableWndCtrl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!focusOwner || QApplication::activeWindow() == focusOwner)
        setFocus(Qt::MouseFocusReason);
    if (capturing_ && !(event->buttons() & captureButton_))
        LoseCapture(); // the button came up outside this control
    if (capturing_) {
        const QPoint point = event->position().toPoint();
        OnItemDrag(pressRow_, pressPoint_.x(), pressPoint_.y(), point.x(), point.y());
    }
}

void QvScrollableWndCtrl::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int notches = event->angleDelta().y() / kWheelDeltaPerNotch;
    const int p = std::clamp(verticalBar_->value() - notches * kPixelsPerNotch, 0, verticalBar_->maximum());
    verticalBar_->setValue(p);
    verticalPosition_ = p;
    RepaintUncached();
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
