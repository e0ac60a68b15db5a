#pragma once

#include <array>

/** The seven-segment display's design: plain numbers in tenths of a unit of its 116-unit width,
    which the display scales to its size and the artwork's check picture draws from. */
namespace SevenSegmentDesign
{

constexpr float designWidth = 116.0f;

/** Where each of the three digits starts, in design units. */
constexpr std::array<float, 3> digitX { 6.0f, 43.0f, 78.0f };

struct TenthsPoint
{
    int x, y;
};

/** A segment's outline relative to its digit's origin. The first four points of a, b, c and d
    form a run whose two inner corners are rounded. */
struct SegmentOutline
{
    std::array<TenthsPoint, 7> points;
    int numPoints;
    bool roundedRun;
};

/** The segments a to g. */
constexpr std::array<SegmentOutline, 7> segmentOutlines { {
    { { { { 95, 133 }, { 116, 118 }, { 138, 114 }, { 282, 118 }, { 261, 149 }, { 130, 149 } } }, 6, true },                // a
    { { { { 298, 122 }, { 310, 133 }, { 318, 152 }, { 310, 344 }, { 304, 353 }, { 270, 330 }, { 276, 154 } } }, 7, true }, // b
    { { { { 310, 396 }, { 302, 560 }, { 296, 586 }, { 278, 605 }, { 258, 572 }, { 266, 399 }, { 306, 384 } } }, 7, true }, // c
    { { { { 73, 597 }, { 94, 606 }, { 110, 608 }, { 264, 609 }, { 243, 577 }, { 114, 577 } } }, 6, true },                 // d
    { { { { 80, 379 }, { 111, 395 }, { 105, 564 }, { 64, 584 }, { 68, 387 } } }, 5, false },                               // e
    { { { { 84, 147 }, { 125, 166 }, { 115, 329 }, { 81, 351 }, { 70, 345 } } }, 5, false },                                // f
    { { { { 89, 365 }, { 125, 343 }, { 236, 344 }, { 277, 370 }, { 239, 384 }, { 118, 379 } } }, 6, false },               // g
} };

/** The radius of the rounded inner corners. */
constexpr int runCornerRadius = 16;

/** The decimal point after a digit: its box's x, y, width and height. */
constexpr std::array<int, 4> decimalPoint { 350, 570, 60, 60 };

} // namespace SevenSegmentDesign
