#include "controls/DibBuffer.h"

#include <algorithm>

#include <QPainter>

namespace cs6 {
namespace {

constexpr int kBytesPerPixel = 4;

} // namespace

DibBuffer::DibBuffer(int width, int height, qreal devicePixelRatio)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      devicePixelRatio_(devicePixelRatio),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_))
{
}

QImage DibBuffer::View()
{
    if (pixels_.empty())
        return {};
    QImage view(reinterpret_cast<uchar*>(pixels_.data()), width_, height_, width_ * kBytesPerPixel,
                QImage::Format_RGB32);
    view.setDevicePixelRatio(devicePixelRatio_);
    return view;
}

QImage DibBuffer::View() const
{
    if (pixels_.empty())
        return {};
    QImage view(reinterpret_cast<const uchar*>(pixels_.data()), width_, height_, width_ * kBytesPerPixel,
                QImage::Format_RGB32);
    view.setDevicePixelRatio(devicePixelRatio_);
    return view;
}

void DibBuffer::Present(QPainter& painter, QPoint dest) const
{
    const QImage view = View();
    if (!view.isNull())
        painter.drawImage(dest, view);
}

} // namespace cs6
