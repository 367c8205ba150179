#pragma once
// The off-screen drawing surface of the orthographic views: a plain 32-bit
// pixel buffer with a persistent pen and brush. Our own, so that every pixel
// is exact and testable and the line routine can be as fast as we need.
#include <cstdint>
#include <span>
#include <vector>

namespace facetor {

// Colours are 0xFFRRGGBB (the layout of QImage::Format_RGB32, so the widgets
// show the pixels without conversion).
inline constexpr std::uint32_t k_black = 0xFF000000, k_silver = 0xFFC0C0C0, k_white = 0xFFFFFFFF,
                               k_yellow = 0xFFFFFF00, k_red = 0xFFFF0000;

struct CanvasPoint {
    std::int32_t x = 0, y = 0;
};

// A plain 32-bit pixel image, black when created.
class PixelImage {
  public:
    PixelImage(int width = 0, int height = 0);

    // Keeps the top-left content that still fits; the new area is black.
    // Negative sizes count as 0.
    void resize(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Precondition: (x, y) lies inside the image.
    std::uint32_t pixel(int x, int y) const
    {
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    }
    // Outside the image: ignored.
    void set_pixel(int x, int y, std::uint32_t c);

    // Rows of width() pixels, no padding.
    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t* data() { return pixels_.data(); }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// The shared off-screen canvas. Pen and brush colours carry over from one
// call to the next; both start black.
class V_Canvas {
  public:
    void resize(int width, int height) { image_.resize(width, height); }
    const PixelImage& image() const { return image_; }
    PixelImage& image() { return image_; }

    void set_pen(std::uint32_t c) { pen_ = c; }
    void set_brush(std::uint32_t c) { brush_ = c; }
    std::uint32_t pen() const { return pen_; }
    std::uint32_t brush() const { return brush_; }

    // Fills with the brush; right and bottom edges excluded; clipped to the image.
    void fill_rect(int left, int top, int right, int bottom);

    // A 1-pixel pen line from (x1, y1) towards (x2, y2) by the Bresenham rule;
    // the end pixel is not drawn. Any int32 input is safe: the part outside
    // the image is skipped without being walked.
    void line(int x1, int y1, int x2, int y2);

    // The closed outline of a polygon: line() from each corner to the next and
    // from the last back to the first, in that order. One corner draws
    // nothing, two draw the segment both ways.
    void outline(std::span<const CanvasPoint> corners);

    // One pen pixel; outside the image: ignored.
    void pixel(int x, int y) { image_.set_pixel(x, y, pen_); }

    // Plain copy of the rectangle (right and bottom excluded) to the same place
    // in target; what falls outside either image is dropped.
    void copy_rect_to(PixelImage& target, int left, int top, int right, int bottom) const;

  private:
    PixelImage image_;
    std::uint32_t pen_ = k_black;
    std::uint32_t brush_ = k_black;
};

} // namespace facetor
