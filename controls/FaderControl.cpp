#include "controls/FaderControl.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <qdrawutil.h>

namespace cs6 {
namespace {

constexpr int kTextOffset = 10;
constexpr int kNarrowestStretch = 50; // per cent of the letters' width
constexpr int kTrackBottomMargin = 10;
constexpr int kWheelDeltaPerNotch = 120;
constexpr int kPageStep = 10;

// Truncation toward zero, saturating instead of overflowing for values no
// int holds (a degenerate range makes pixelsPerUnit infinite).
int Trunc(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

FaderControl::FaderControl(QWidget* parent)
    : QvScrollableWndCtrl(parent)
{
    // Row 0 is the thumb; a left edge of -1 means it has not been placed yet.
    AddItem(0, 0, 0, -1, -1, -1, -1);
}

void FaderControl::SetRange(double min, double max, double value)
{
    min_ = min;
    max_ = max;
    value_ = value;
    pixelsPerUnit_ = (trackBottom_ - trackTop_ + 1) / (max - min + 1);
    thumbY_ = ThumbYFor(value);
    Reanchor();
}

void FaderControl::SetValue(int v)
{
    value_ = v;
    label_ = formatter_->FormatValue(v, formatterMode_);
    thumbY_ = ThumbYFor(value_);
    UpdateThumbItem();
    Reanchor();
}

void FaderControl::Reanchor()
{
    // A value set from outside during a drag (a refresh from the instrument)
    // belongs where the pointer is now; the rest of the drag moves from it.
    if (dragging_)
        dragAnchor_ = Trunc(value_) + dragDelta_;
}

void FaderControl::SetFormatter(const ValueFormatter* formatter, int mode)
{
    formatter_ = formatter ? formatter : &defaultFormatter_;
    formatterMode_ = mode;
    label_ = formatter_->FormatValue(Trunc(value_), mode);
}

void FaderControl::SetThumbSize(int width, int height)
{
    thumbWidth_ = width;
    thumbHeight_ = height;
}

int FaderControl::ThumbYFor(double value) const
{
    return Trunc(trackBottom_ - (value - min_) * pixelsPerUnit_);
}

QvScrollableWndCtrl::ItemRect FaderControl::ThumbRect() const
{
    ItemRect rect;
    rect.left = width() / 2 - thumbWidth_ / 2;
    rect.right = rect.left + thumbWidth_;
    rect.top = thumbY_ - thumbHeight_ / 2;
    rect.bottom = rect.top + thumbHeight_;
    return rect;
}

void FaderControl::UpdateThumbItem()
{
    const ItemRect rect = ThumbRect();
    RecordTable& items = ItemTable();
    items.SetSignedByName(0, "left", rect.left);
    items.SetSignedByName(0, "right", rect.right);
    items.SetSignedByName(0, "top", rect.top);
    items.SetSignedByName(0, "bottom", rect.bottom);
}

void FaderControl::InitGeometry(int /*width*/, int height)
{
    trackTop_ = thumbHeight_;
    trackBottom_ = height - thumbHeight_ / 2 - kTrackBottomMargin;
    textOffset_ = kTextOffset;
    SetRange(min_, max_, value_);
    geometryReady_ = true;
    thumbY_ = ThumbYFor(value_);
    UpdateThumbItem();
}

void FaderControl::OnValueChanging(int value)
{
    label_ = formatter_->FormatValue(value, formatterMode_);
}

void FaderControl::OnValueChanged(int value)
{
    label_ = formatter_->FormatValue(value, formatterMode_);
}

void FaderControl::Notify(FaderStep step)
{
    if (notifyTarget && notify)
        PostCall(notifyTarget.data(), [notify = notify, step] { notify(step); });
}

void FaderControl::DrawContent(QPainter& painter, int w, int h)
{
    if (!geometryReady_)
        InitGeometry(w, h);
    if (!font_) {
        font_.emplace(QStringLiteral("Arial"));
        font_->setPointSize(8);
    }
    painter.setFont(*font_);

    const QPalette& colours = palette();
    painter.fillRect(0, 0, w, h, colours.color(QPalette::Button));
    painter.fillRect(w / 2, trackTop_, 1, trackBottom_ - trackTop_, colours.color(QPalette::Light));

    const ItemRect thumb = ThumbRect();
    const QRect thumbRect(thumb.left, thumb.top, thumb.right - thumb.left, thumb.bottom - thumb.top);
    painter.fillRect(thumbRect, colours.color(QPalette::Button));
    qDrawWinPanel(&painter, thumbRect, colours, false, nullptr);

    if (ItemTable().GetSignedByName(0, "left") == -1)
        UpdateThumbItem();

    // The text's top edge sits textOffset above the bottom, centred across.
    // A text wider than the fader is narrowed until it fits with a pixel to
    // spare at either side (-12.8Hz on a strip fader).
    int textWidth = painter.fontMetrics().horizontalAdvance(label_);
    if (textWidth > w - 2) {
        QFont narrower = *font_;
        for (int stretch = std::max(kNarrowestStretch, 100 * (w - 2) / textWidth);
             stretch >= kNarrowestStretch && textWidth > w - 2; --stretch) {
            narrower.setStretch(stretch);
            painter.setFont(narrower);
            textWidth = painter.fontMetrics().horizontalAdvance(label_);
        }
    }
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(colours.color(QPalette::ButtonText));
    painter.drawText(w / 2 - textWidth / 2, h - textOffset_ + metrics.ascent(), label_);
}

void FaderControl::OnItemDrag(int pressRow, int /*pressX*/, int pressY, int /*x*/, int y)
{
    if (pressRow != 0)
        return;
    if (CaptureButton() != Qt::LeftButton)
        return; // only the left button drags the thumb
    if (!dragging_) {
        dragging_ = true;
        dragAnchor_ = Trunc(value_);
    }
    // The value follows the pointer's whole movement since the press.
    dragDelta_ = y - pressY;
    if (pixelsPerUnit_ > 1.0)
        dragDelta_ = Trunc(dragDelta_ / pixelsPerUnit_);
    value_ = dragAnchor_ - dragDelta_;
    if (value_ > max_)
        value_ = max_;
    if (value_ < min_)
        value_ = min_;
    OnValueChanging(Trunc(value_));
    thumbY_ = ThumbYFor(value_);
    repaint();
    Notify(FaderStep::Drag);
}

void FaderControl::OnItemButtonUp(int /*releaseRow*/, int /*pressX*/, int /*pressY*/, int /*releaseX*/,
                                  int /*releaseY*/)
{
    if (PressRow() != 0)
        return;
    EndDrag();
}

void FaderControl::OnCaptureLost()
{
    // Without this the anchor would stay set and the next drag would start
    // from the old value; the owner also needs the release to send the final
    // value.
    if (dragging_)
        EndDrag();
}

void FaderControl::EndDrag()
{
    UpdateThumbItem();
    dragging_ = false;
    dragAnchor_ = -1;
    OnValueChanged(Trunc(value_));
    Notify(FaderStep::Release);
}

void FaderControl::StepTo(double target)
{
    if (target > max_)
        target = max_;
    if (target < min_)
        target = min_;
    if (target == value_)
        return;
    value_ = target;
    thumbY_ = ThumbYFor(value_);
    UpdateThumbItem();
    OnValueChanged(Trunc(value_));
    repaint();
    // A step is a whole change, like a drag that has ended: the owner sends
    // the value once for it.
    Notify(FaderStep::Release);
}

void FaderControl::keyPressEvent(QKeyEvent* event)
{
    const double current = Trunc(value_);
    double target = 0.0;
    switch (event->key()) {
    case Qt::Key_Up:
        target = current + 1;
        break;
    case Qt::Key_Down:
        target = current - 1;
        break;
    case Qt::Key_PageUp:
        target = current + kPageStep;
        break;
    case Qt::Key_PageDown:
        target = current - kPageStep;
        break;
    case Qt::Key_Home:
        target = min_;
        break;
    case Qt::Key_End:
        target = max_;
        break;
    default:
        QvScrollableWndCtrl::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!dragging_) // a running drag owns the value
        StepTo(target);
}

void FaderControl::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (dragging_)
        return;
    // Fine-grained wheels send parts of a notch; they add up to whole ones.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / kWheelDeltaPerNotch;
    wheelRemainder_ -= notches * kWheelDeltaPerNotch;
    if (notches != 0)
        StepTo(Trunc(value_) + notches);
}

void FaderControl::resizeEvent(QResizeEvent* event)
{
    QvScrollableWndCtrl::resizeEvent(event);
    geometryReady_ = false;
}

} // namespace cs6
