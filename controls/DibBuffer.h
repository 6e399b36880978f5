#pragma once
// DibBuffer: a device-independent picture in memory. Rows run top-down, each
// padded to a whole number of 32-bit words; a 40-byte bitmap header describes
// the pixels the way the presenting side expects them. The scrollable panel
// draws every picture into one of these (32 bits a pixel) and presents it from
// here, so no paint reaches the screen any other way.
//
// An 8-bit buffer gets its pixel array but no header, after a message box:
// palettized pictures are not supported and are never presented.
//
// Thread: the user-interface thread only (it may show a message box).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QImage>

class QPainter;

namespace cs6 {

// The fields of a BITMAPINFOHEADER, in their order and sizes.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: the first row is the top one
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

class DibBuffer {
public:
    // Allocates width x height pixels of bitDepth bits, zeroed. Negative sizes
    // count as 0.
    DibBuffer(int width, int height, int bitDepth);

    DibBuffer(const DibBuffer&) = delete;
    DibBuffer& operator=(const DibBuffer&) = delete;

    // Bytes per row: ((width x bitDepth + 31) / 32) x 4.
    static int StrideFor(int width, int bitDepth);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    int BitDepth() const { return bitDepth_; }
    const std::optional<BitmapInfoHeader>& Header() const { return header_; }

    std::span<std::uint8_t> Pixels() { return pixels_; }
    std::span<const std::uint8_t> Pixels() const { return pixels_; }

    // A QImage over the pixel array itself (no copy), to paint into or read
    // from; valid while this buffer lives. Null for an 8-bit buffer and for
    // depths other than 16, 24 and 32. Take a fresh view for each use: a
    // painter on a shared view would copy the pixels away from this buffer.
    QImage View();
    QImage View() const;

    // Draws the width x height block at (srcX, srcY) at (destX, destY) of the
    // painter's device. Nothing happens without a header.
    void Present(QPainter& painter, int destX, int destY, int srcX, int srcY, int width, int height) const;

private:
    QImage::Format ImageFormat() const;

    std::optional<BitmapInfoHeader> header_;
    int width_ = 0;
    int stride_ = 0;
    int height_ = 0;
    int bitDepth_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace cs6
