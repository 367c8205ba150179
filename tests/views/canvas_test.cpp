#include "views/canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
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

// The textbook integer Bresenham, walking every pixel and dropping those
// outside: slow but obviously right for short lines.
PixelSet reference_line(int w, int h, int x1, int y1, int x2, int y2)
{
    PixelSet set;
    const long long dx = std::llabs(static_cast<long long>(x2) - x1);
    const long long dy = std::llabs(static_cast<long long>(y2) - y1);
    const int sx = x2 < x1 ? -1 : 1;
    const int sy = y2 < y1 ? -1 : 1;
    const bool x_major = dx >= dy;
    const long long major = x_major ? dx : dy;
    const long long minor = x_major ? dy : dx;
    long long d = 2 * minor - major;
    long long x = x1, y = y1;
    for (long long i = 0; i < major; ++i) {
        if (x >= 0 && y >= 0 && x < w && y < h) {
            set.insert({static_cast<int>(x), static_cast<int>(y)});
        }
        if (d > 0) {
            (x_major ? y : x) += x_major ? sy : sx;
            d -= 2 * major;
        }
        d += 2 * minor;
        (x_major ? x : y) += x_major ? sx : sy;
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

TEST(PixelImage, StartsBlackAndResizeKeepsTopLeft)
{
    PixelImage image(4, 3);
    EXPECT_EQ(pixels_of(image, k_black).size(), 12u);
    image.set_pixel(0, 0, k_red);
    image.set_pixel(3, 2, k_red);
    image.set_pixel(-1, 0, k_red); // ignored
    image.set_pixel(4, 2, k_red);  // ignored
    image.resize(6, 2);
    EXPECT_EQ(image.width(), 6);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(pixels_of(image, k_red), (PixelSet{{0, 0}}));
    EXPECT_EQ(pixels_of(image, k_black).size(), 11u);
    image.resize(-3, 5);
    EXPECT_EQ(image.width(), 0);
}

TEST(V_Canvas, FillRectExcludesRightAndBottomAndClips)
{
    struct Case {
        int left, top, right, bottom;
        PixelSet expected;
    };
    const Case cases[] = {
        {1, 2, 3, 4, {{1, 2}, {2, 2}, {1, 3}, {2, 3}}},
        {2, 2, 2, 5, {}}, // empty width
        {3, 3, 1, 1, {}}, // inverted
        {-5, -5, 1, 2, {{0, 0}, {0, 1}}},
        {4, 3, 100, 100, {{4, 3}, {5, 3}, {4, 4}, {5, 4}}},
        {6, 0, 9, 5, {}}, // right of the image
    };
    for (const Case& c : cases) {
        V_Canvas canvas;
        canvas.resize(6, 5);
        canvas.set_pen(k_red);
        canvas.set_brush(k_yellow);
        canvas.fill_rect(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(pixels_of(canvas.image(), k_yellow), c.expected)
            << c.left << "," << c.top << "," << c.right << "," << c.bottom;
    }
    V_Canvas canvas;
    canvas.resize(6, 5);
    canvas.set_brush(k_white);
    canvas.fill_rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(pixels_of(canvas.image(), k_white).size(), 30u);
}

TEST(V_Canvas, LineLeavesTheEndPixelUndrawn)
{
    struct Case {
        int x1, y1, x2, y2;
        PixelSet expected;
    };
    const Case cases[] = {
        {1, 1, 4, 1, {{1, 1}, {2, 1}, {3, 1}}},
        {4, 1, 1, 1, {{4, 1}, {3, 1}, {2, 1}}},
        {2, 4, 2, 1, {{2, 4}, {2, 3}, {2, 2}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {2, 2, 2, 2, {}},
        {2, 2, 3, 2, {{2, 2}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}}, // halves round towards the start
        {4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(drawn_line(8, 6, c.x1, c.y1, c.x2, c.y2), c.expected)
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

// Lines with both ends inside take a different road from the others, so both
// kinds are drawn in numbers.
TEST(V_Canvas, LineMatchesTheTextbookWalkInAndAroundTheImage)
{
    struct Range {
        int lo_x, hi_x, lo_y, hi_y;
    };
    const Range ranges[] = {{0, 22, 0, 16}, {-40, 60, -40, 60}};
    std::mt19937 random(12345);
    for (const Range& r : ranges) {
        std::uniform_int_distribution<int> x(r.lo_x, r.hi_x);
        std::uniform_int_distribution<int> y(r.lo_y, r.hi_y);
        for (int i = 0; i < 10000; ++i) {
            const int x1 = x(random), y1 = y(random), x2 = x(random), y2 = y(random);
            ASSERT_EQ(drawn_line(23, 17, x1, y1, x2, y2), reference_line(23, 17, x1, y1, x2, y2))
                << x1 << "," << y1 << " -> " << x2 << "," << y2;
        }
    }
}

// Long lines inside a large image, up to where the quick road for lines
// inside is exact and just past it.
TEST(V_Canvas, LongLinesInsideMatchTheTextbookWalk)
{
    struct Case {
        int w, h, x1, y1, x2, y2;
    };
    const Case cases[] = {
        {46342, 4, 0, 0, 46340, 3},     {46342, 4, 46340, 3, 0, 0},
        {46342, 4, 1, 3, 46341, 0},     {46342, 4, 46341, 1, 0, 2},
        {4, 46342, 0, 0, 3, 46340},     {4, 46342, 3, 46341, 0, 0},
        {1500, 1400, 0, 0, 1499, 1397}, {1500, 1400, 1499, 0, 2, 1399},
        {1500, 1400, 3, 1200, 1444, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(drawn_line(c.w, c.h, c.x1, c.y1, c.x2, c.y2),
                  reference_line(c.w, c.h, c.x1, c.y1, c.x2, c.y2))
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

// A line through the image from far away draws what a short line of the same
// direction and centre draws: the offset along it never depends on how far
// out the ends lie (the ends are centre +- k * direction).
TEST(V_Canvas, FarEndsClipToTheSamePixelsAsNearOnes)
{
    struct Direction {
        int dx, dy;
    };
    const Direction directions[] = {{1, 0},  {0, 1},   {1, 1}, {2, 1},   {1, 2},  {-3, 1},
                                    {5, -2}, {-1, -7}, {7, 3}, {-4, -4}, {1, -6}, {0, -1}};
    const std::pair<int, int> centres[] = {{10, 8}, {0, 0}, {22, 16}, {-5, 30}, {40, -3}};
    for (const Direction& d : directions) {
        for (const auto& [cx, cy] : centres) {
            const int near = 64;
            const int far = INT_MAX / 8; // keeps both ends inside int32
            const PixelSet expected = reference_line(23, 17, cx - near * d.dx, cy - near * d.dy,
                                                     cx + near * d.dx, cy + near * d.dy);
            EXPECT_EQ(drawn_line(23, 17, cx - far * d.dx, cy - far * d.dy, cx + far * d.dx,
                                 cy + far * d.dy),
                      expected)
                << d.dx << "," << d.dy << " through " << cx << "," << cy;
        }
    }
}

TEST(V_Canvas, ExtremeEndsAreSafe)
{
    // Corner to corner of the int32 range is the main diagonal.
    PixelSet diagonal;
    for (int i = 0; i < 17; ++i) {
        diagonal.insert({i, i});
    }
    EXPECT_EQ(drawn_line(23, 17, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);

    PixelSet row;
    for (int x = 0; x < 23; ++x) {
        row.insert({x, 5});
    }
    EXPECT_EQ(drawn_line(23, 17, INT_MAX, 5, INT_MIN, 5), row);

    EXPECT_TRUE(drawn_line(23, 17, INT_MIN, INT_MAX, INT_MAX, INT_MAX).empty());
    EXPECT_TRUE(drawn_line(23, 17, INT_MIN, -1, INT_MAX, -1).empty());
    EXPECT_TRUE(drawn_line(23, 17, 30, INT_MIN, 30, INT_MAX).empty());
    EXPECT_TRUE(drawn_line(0, 0, 0, 0, 5, 5).empty());
}

TEST(V_Canvas, CopyDropsWhatFallsOutsideEitherImage)
{
    V_Canvas canvas;
    canvas.resize(5, 4);
    canvas.set_brush(k_red);
    canvas.fill_rect(0, 0, 5, 4);

    struct Case {
        int target_w, target_h;
        int left, top, right, bottom;
        std::size_t red;
    };
    const Case cases[] = {
        {5, 4, 1, 1, 3, 2, 2},     // a part, at the same place
        {3, 2, -9, -9, 99, 99, 6}, // target smaller than the source
        {8, 8, 0, 0, 8, 8, 20},    // target larger: only the source's pixels
        {5, 4, 3, 3, 1, 1, 0},     // inverted
    };
    for (const Case& c : cases) {
        PixelImage target(c.target_w, c.target_h);
        canvas.copy_rect_to(target, c.left, c.top, c.right, c.bottom);
        const PixelSet red = pixels_of(target, k_red);
        EXPECT_EQ(red.size(), c.red);
        for (const auto& [x, y] : red) {
            EXPECT_TRUE(x >= c.left && x < c.right && y >= c.top && y < c.bottom && x < 5 && y < 4);
        }
    }
}

} // namespace
} // namespace facetor
