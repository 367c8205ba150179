#include "views/canvas.h"

#include <algorithm>
#include <cstring>

namespace facetor {

namespace {

__extension__ typedef __int128 wide_int;

// Ceiling of a / b for a > 0, b > 0.
wide_int ceil_div(wide_int a, wide_int b)
{
    return (a + b - 1) / b;
}

} // namespace

PixelImage::PixelImage(int width, int height)
{
    resize(width, height);
}

void PixelImage::resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) {
        return;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, k_black);
    const int keep_w = std::min(width, width_);
    const int keep_h = std::min(height, height_);
    for (int y = 0; y < keep_h; ++y) {
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * width,
                    pixels_.data() + static_cast<std::size_t>(y) * width_,
                    static_cast<std::size_t>(keep_w) * sizeof(std::uint32_t));
    }
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
}

void PixelImage::set_pixel(int x, int y, std::uint32_t c)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
        pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
    }
}

void V_Canvas::fill_rect(int left, int top, int right, int bottom)
{
    const int l = std::max(left, 0);
    const int t = std::max(top, 0);
    const int r = std::min(right, image_.width());
    const int b = std::min(bottom, image_.height());
    if (l >= r || t >= b) {
        return;
    }
    const int w = image_.width();
    std::uint32_t* row = image_.data() + static_cast<std::size_t>(t) * w;
    for (int y = t; y < b; ++y, row += w) {
        std::fill(row + l, row + r, brush_);
    }
}

// The line is walked along its major axis (the one with the larger extent).
// At major step i the minor offset is floor((2*i*minor + major - 1) / (2*major)):
// the ideal position rounded to the nearest pixel, halves towards the start.
// That closed form lets a clipped line start right where it enters the image,
// so a line millions of pixels long costs no more than one across the image.
void V_Canvas::line(int x1, int y1, int x2, int y2)
{
    const int w = image_.width();
    const int h = image_.height();
    if (w <= 0 || h <= 0) {
        return;
    }
    const std::int64_t dx = std::int64_t{x2} - x1;
    const std::int64_t dy = std::int64_t{y2} - y1;
    const bool x_major = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);

    // Major axis a, minor axis b, each with its start, direction, extent and
    // the image size along it.
    const std::int64_t a0 = x_major ? x1 : y1;
    const std::int64_t b0 = x_major ? y1 : x1;
    const std::int64_t da = x_major ? dx : dy;
    const std::int64_t db = x_major ? dy : dx;
    const std::int64_t sa = da < 0 ? -1 : 1;
    const std::int64_t sb = db < 0 ? -1 : 1;
    const std::int64_t na = da * sa;
    const std::int64_t nb = db * sb;
    const std::int64_t size_a = x_major ? w : h;
    const std::int64_t size_b = x_major ? h : w;
    if (na == 0) {
        return; // a point: its only pixel is the end pixel
    }

    // Steps 0 .. na-1 are drawn; keep those whose major coordinate is inside.
    std::int64_t lo = 0;
    std::int64_t hi = na - 1;
    if (sa > 0) {
        lo = std::max(lo, -a0);
        hi = std::min(hi, size_a - 1 - a0);
    } else {
        lo = std::max(lo, a0 - size_a + 1);
        hi = std::min(hi, a0);
    }
    // The minor offset t must stay within [t_lo, t_hi] to be inside; t grows
    // with the step, so this is again a range of steps.
    const std::int64_t t_lo = sb > 0 ? -b0 : b0 - size_b + 1;
    const std::int64_t t_hi = sb > 0 ? size_b - 1 - b0 : b0;
    if (t_hi < 0) {
        return;
    }
    if (t_lo > 0) {
        if (nb == 0) {
            return;
        }
        // First step with t >= t_lo.
        const wide_int first = ceil_div(wide_int{2} * na * t_lo - na + 1, wide_int{2} * nb);
        lo = static_cast<std::int64_t>(std::max<wide_int>(lo, first));
    }
    if (nb > 0) {
        // Last step with t <= t_hi is one before the first with t >= t_hi + 1.
        const wide_int past =
            ceil_div(wide_int{2} * na * (t_hi + 1) - na + 1, wide_int{2} * nb) - 1;
        hi = static_cast<std::int64_t>(std::min<wide_int>(hi, past));
    }
    if (lo > hi) {
        return;
    }

    const std::int64_t two_na = 2 * na;
    const std::int64_t two_nb = 2 * nb;
    const wide_int start = wide_int{2} * lo * nb + na - 1;
    const std::int64_t t = static_cast<std::int64_t>(start / two_na);
    std::int64_t r = static_cast<std::int64_t>(start % two_na);

    const std::int64_t a = a0 + sa * lo;
    const std::int64_t b = b0 + sb * t;
    const std::int64_t x = x_major ? a : b;
    const std::int64_t y = x_major ? b : a;
    const std::ptrdiff_t step_a = x_major ? sa : sa * w;
    const std::ptrdiff_t step_b = x_major ? sb * w : sb;
    // An index rather than a pointer: after the last pixel it may point
    // outside the image, and is then never used.
    std::uint32_t* const pixels = image_.data();
    std::ptrdiff_t at = y * w + x;
    const std::uint32_t c = pen_;
    for (std::int64_t count = hi - lo + 1; count > 0; --count) {
        pixels[at] = c;
        at += step_a;
        r += two_nb;
        if (r >= two_na) {
            r -= two_na;
            at += step_b;
        }
    }
}

void V_Canvas::copy_rect_to(PixelImage& target, int left, int top, int right, int bottom) const
{
    if (&target == &image_) {
        return; // the same place in the same image: nothing moves
    }
    const int l = std::max(left, 0);
    const int t = std::max(top, 0);
    const int r = std::min({right, image_.width(), target.width()});
    const int b = std::min({bottom, image_.height(), target.height()});
    if (l >= r || t >= b) {
        return;
    }
    for (int y = t; y < b; ++y) {
        std::memcpy(target.data() + static_cast<std::size_t>(y) * target.width() + l,
                    image_.data() + static_cast<std::size_t>(y) * image_.width() + l,
                    static_cast<std::size_t>(r - l) * sizeof(std::uint32_t));
    }
}

} // namespace facetor
