#pragma once
// DibBuffer: a device-independent picture in memory, one 0xffRRGGBB word a
// pixel (QImage::Format_RGB32), rows top-down. The scrollable panel
// draws every picture into one of these and presents it from here, so no
// paint reaches the screen any other way.
//
// The picture is held in device pixels and shown at devicePixelRatio of them
// to a logical pixel, so that a scaled screen shows it sharp, not scaled up.
//
// Thread: the thread that owns it; the panel's is the user-interface thread.

#include <cstdint>
#include <vector>

#include <QImage>
#include <QPoint>

class QPainter;

namespace cs6 {

class DibBuffer {
public:
    // Allocates width x height device pixels, zeroed. Negative sizes count
    // as 0.
    DibBuffer(int width, int height, qreal devicePixelRatio = 1.0);

    DibBuffer(const DibBuffer&) = delete;
    DibBuffer& operator=(const DibBuffer&) = delete;

    // In device pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    qreal DevicePixelRatio() const { return devicePixelRatio_; }

    // A QImage over the pixel array itself (no copy), carrying the pixel
    // ratio, so a painter on it works in logical pixels; valid while this
    // buffer lives. Null for an empty buffer. Take a fresh view for each use:
    // a painter on a shared view would copy the pixels away from this buffer.
    QImage View();
    QImage View() const;

    // Draws the whole picture with its top-left corner at dest, in the
    // painter's logical pixels.
    void Present(QPainter& painter, QPoint dest) const;

private:
    int width_ = 0;
    int height_ = 0;
    qreal devicePixelRatio_ = 1.0;
    std::vector<std::uint32_t> pixels_;
};

} // namespace cs6
