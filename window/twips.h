// Layout unit conversion: every position and size of the window is designed
// in twips, 15 to a pixel at 96 dots per inch.
#pragma once

#include <QRect>

constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel.
constexpr int twips(int value)
{
    return (2 * value + kTwipsPerPixel) / (2 * kTwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
