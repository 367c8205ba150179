#include "views/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace facetor {

namespace {

__extension__ typedef __int128 wide_int;

// Ceiling of a / b for a > 0, b > 0.
wide_int ceil_div(wide_int a, wide_int b)
{
    return (a + b - 1) / b;
}

// Lines are walked along their major axis (the one with the larger extent).
// At major step i the minor offset is floor((2*i*minor + major - 1) / (2*major)):
// the ideal position rounded to the nearest pixel, halves towards the start.
// Steps 0 .. major-1 are drawn, so the end pixel is not.

// Both ends inside the image, so every pixel is. The minor offset is carried
// as a 32.32 fixed-point number, both start and slope rounded up: the error
// stays below major / 2^32 while the true offset keeps at least
// 1 / (2 * major) away from the next whole pixel, so for major <= 46340 the
// truncated value is exactly the rounding rule above. No branch per pixel,
// which is what keeps the views quick to redraw.
constexpr int k_exact_fixed_point_major = 46340;

void draw_inside(std::uint32_t* pixels, int w, int x1, int y1, int x2, int y2, std::uint32_t c)
{
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const int adx = dx < 0 ? -dx : dx;
    const int ady = dy < 0 ? -dy : dy;
    const bool x_major = adx >= ady;
    const std::uint64_t na = x_major ? adx : ady;
    const std::uint64_t nb = x_major ? ady : adx;
    const std::ptrdiff_t step_x = dx < 0 ? -1 : 1;
    const std::ptrdiff_t step_y = dy < 0 ? -std::ptrdiff_t{w} : std::ptrdiff_t{w};
    const std::ptrdiff_t step_a = x_major ? step_x : step_y;
    const std::ptrdiff_t step_b = x_major ? step_y : step_x;
    if (na == 0) {
        return;
    }
    const std::uint64_t slope = ((nb << 32) + na - 1) / na;
    std::uint64_t offset = (((na - 1) << 32) + 2 * na - 1) / (2 * na);
    // `p` walks the major axis on the start's row or column and stops at the
    // end's major coordinate there, which is inside the image as well.
    std::uint32_t* p = pixels + std::ptrdiff_t{y1} * w + x1;
    std::uint32_t* const end = p + static_cast<std::ptrdiff_t>(na) * step_a;
    for (; p != end; p += step_a) {
        p[static_cast<std::ptrdiff_t>(offset >> 32) * step_b] = c;
        offset += slope;
    }
}

// Any int32 ends: the steps outside the image are skipped without being
// walked, using the closed form of the minor offset, so a line millions of
// pixels long costs no more than one across the image.
void draw_clipped(std::uint32_t* pixels, int w, int h, int x1, int y1, int x2, int y2,
                  std::uint32_t c)
{
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

    // Keep the steps whose major coordinate is inside.
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
    std::ptrdiff_t at = y * w + x;
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

namespace {

void draw_line(PixelImage& image, int x1, int y1, int x2, int y2, std::uint32_t c)
{
    const int w = image.width();
    const int h = image.height();
    const auto inside = [w, h](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h; };
    // Every pixel of a line lies within the box of its two ends.
    if (inside(x1, y1) && inside(x2, y2) && std::abs(x2 - x1) <= k_exact_fixed_point_major &&
        std::abs(y2 - y1) <= k_exact_fixed_point_major) {
        draw_inside(image.data(), w, x1, y1, x2, y2, c);
    } else if (w > 0 && h > 0) {
        draw_clipped(image.data(), w, h, x1, y1, x2, y2, c);
    }
}

} // namespace

void V_Canvas::line(int x1, int y1, int x2, int y2)
{
    draw_line(image_, x1, y1, x2, y2, pen_);
}

void V_Canvas::outline(std::span<const CanvasPoint> corners)
{
    if (corners.empty()) {
        return;
    }
    for (std::size_t k = 0; k + 1 < corners.size(); ++k) {
        draw_line(image_, corners[k].x, corners[k].y, corners[k + 1].x, corners[k + 1].y, pen_);
    }
    draw_line(image_, corners.back().x, corners.back().y, corners.front().x, corners.front().y,
              pen_);
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
