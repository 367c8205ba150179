#include "views/canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <utility>

namespace facetor {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixels_of(const PixelImage& image, std::uint32_t colour)
{
    PixelSet set;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                set.insert({x, y});
            }
        }
    }
    return set;
}

// The textbook integer Bresenham, walking every pixel but the end one and
// dropping those outside: slow but plainly right for short lines.
PixelSet reference_line(int w, int h, int x1, int y1, int x2, int y2)
{
    PixelSet set;
    const long long dx = std::llabs(0LL + x2 - x1), dy = std::llabs(0LL + y2 - y1);
    const bool x_major = dx >= dy;
    const long long major = x_major ? dx : dy, minor = x_major ? dy : dx;
    const int step_x = x2 < x1 ? -1 : 1, step_y = y2 < y1 ? -1 : 1;
    long long x = x1, y = y1, d = 2 * minor - major;
    for (long long i = 0; i < major; ++i) {
        if (x >= 0 && y >= 0 && x < w && y < h) {
            set.insert({static_cast<int>(x), static_cast<int>(y)});
        }
        if (d > 0) {
            (x_major ? y : x) += x_major ? step_y : step_x;
            d -= 2 * major;
        }
        d += 2 * minor;
        (x_major ? x : y) += x_major ? step_x : step_y;
    }
    return set;
}

PixelSet drawn_line(int w, int h, int x1, int y1, int x2, int y2)
{
    V_Canvas canvas;
    canvas.resize(w, h);
    canvas.set_pen(k_white);
    canvas.line(x1, y1, x2, y2);
    return pixels_of(canvas.image(), k_white);
}

TEST(PixelImage, ResizeKeepsTheTopLeftAndBlackensTheRest)
{
    PixelImage image(4, 3);
    image.set_pixel(0, 0, k_red);
    image.set_pixel(3, 2, k_red);
    image.set_pixel(4, 2, k_red); // outside: ignored
    image.resize(6, 2);
    EXPECT_EQ(pixels_of(image, k_red), (PixelSet{{0, 0}}));
    EXPECT_EQ(pixels_of(image, k_black).size(), 11u);
}

TEST(V_Canvas, FillRectExcludesRightAndBottomAndClips)
{
    struct Case {
        int left, top, right, bottom;
        PixelSet expected;
    };
    const Case cases[] = {
        {1, 2, 3, 4, {{1, 2}, {2, 2}, {1, 3}, {2, 3}}},
        {2, 2, 2, 5, {}},
        {3, 3, 1, 1, {}},
        {-5, -5, 1, 2, {{0, 0}, {0, 1}}},
        {4, 3, INT_MAX, INT_MAX, {{4, 3}, {5, 3}, {4, 4}, {5, 4}}},
    };
    for (const Case& c : cases) {
        V_Canvas canvas;
        canvas.resize(6, 5);
        canvas.set_brush(k_yellow);
        canvas.fill_rect(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(pixels_of(canvas.image(), k_yellow), c.expected) << c.left << "," << c.top;
    }
}

// Lines with both ends inside take a different road from the others, so both
// kinds are drawn in numbers.
TEST(V_Canvas, LinesMatchTheTextbookWalkWithoutTheEndPixel)
{
    const std::pair<int, int> ranges[] = {{0, 16}, {-40, 60}};
    std::mt19937 random(12345);
    for (const auto& [lo, hi] : ranges) {
        std::uniform_int_distribution<int> coord(lo, hi);
        for (int i = 0; i < 10000; ++i) {
            const int x1 = coord(random), y1 = coord(random), x2 = coord(random),
                      y2 = coord(random);
            ASSERT_EQ(drawn_line(23, 17, x1, y1, x2, y2), reference_line(23, 17, x1, y1, x2, y2))
                << x1 << "," << y1 << " -> " << x2 << "," << y2;
        }
    }
}

// Long lines inside a large image, up to where the quick road for lines
// inside is exact and just past it.
TEST(V_Canvas, LongLinesMatchTheTextbookWalk)
{
    struct Case {
        int w, h, x1, y1, x2, y2;
    };
    const Case cases[] = {
        {46342, 4, 0, 0, 46340, 3},     {46342, 4, 46341, 1, 0, 2},     {4, 46342, 3, 46341, 0, 0},
        {1500, 1400, 1499, 0, 2, 1399}, {1500, 1400, 3, 1200, 1444, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(drawn_line(c.w, c.h, c.x1, c.y1, c.x2, c.y2),
                  reference_line(c.w, c.h, c.x1, c.y1, c.x2, c.y2))
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

// A line through the image from far away draws what a short one of the same
// direction and centre draws: ends at centre +- k * direction round the same
// way for every k. Too long for the textbook walk, so that gives the pixels.
TEST(V_Canvas, FarEndsClipToTheSamePixelsAsNearOnes)
{
    const std::pair<int, int> directions[] = {{1, 0},  {1, 1},  {2, 1},   {1, 2},
                                              {-3, 1}, {5, -2}, {-1, -7}, {0, -1}};
    const std::pair<int, int> centres[] = {{10, 8}, {0, 0}, {22, 16}, {-5, 30}, {40, -3}};
    for (const auto& [dx, dy] : directions) {
        for (const auto& [cx, cy] : centres) {
            const int near = 64, far = INT_MAX / 8;
            EXPECT_EQ(
                drawn_line(23, 17, cx - far * dx, cy - far * dy, cx + far * dx, cy + far * dy),
                reference_line(23, 17, cx - near * dx, cy - near * dy, cx + near * dx,
                               cy + near * dy))
                << dx << "," << dy << " through " << cx << "," << cy;
        }
    }
    PixelSet diagonal;
    for (int i = 0; i < 17; ++i) {
        diagonal.insert({i, i});
    }
    EXPECT_EQ(drawn_line(23, 17, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
    EXPECT_TRUE(drawn_line(23, 17, INT_MIN, -1, INT_MAX, -1).empty());
    EXPECT_TRUE(drawn_line(0, 0, 0, 0, 5, 5).empty());
}

TEST(V_Canvas, CopyDropsWhatFallsOutsideEitherImage)
{
    V_Canvas canvas;
    canvas.resize(5, 4);
    canvas.set_brush(k_red);
    canvas.fill_rect(0, 0, 5, 4);
    struct Case {
        int target_w, target_h, left, top, right, bottom;
        PixelSet expected;
    };
    const Case cases[] = {
        {5, 4, 1, 1, 3, 2, {{1, 1}, {2, 1}}},
        {2, 2, -9, -9, 99, 99, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        {8, 8, 3, 2, 8, 8, {{3, 2}, {4, 2}, {3, 3}, {4, 3}}},
    };
    for (const Case& c : cases) {
        PixelImage target(c.target_w, c.target_h);
        canvas.copy_rect_to(target, c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(pixels_of(target, k_red), c.expected) << c.left << "," << c.top;
    }
}

} // namespace
} // namespace facetor
