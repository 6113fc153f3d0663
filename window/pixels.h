#pragma once
// The layout's twips as pixels on a screen of a given density, and the
// density from which the preview pictures drawn at twice the size are shown.

namespace trelvane {

inline constexpr int TwipsPerInch = 1440;
// The density the layout was drawn for: 15 twips a pixel, the pictures' 1275 twips their 85 pixels.
inline constexpr int LayoutDpi = 96;

// Rounded to the nearest pixel, a half away from zero, as Windows rounds its own
// scaled measures.
constexpr int twipsToPixels(int twips, int dpi = LayoutDpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled >= 0 ? scaled + TwipsPerInch / 2 : scaled - TwipsPerInch / 2) / TwipsPerInch);
}

// A measure given in pixels at the layout's density (a margin, the font's size), at `dpi`.
constexpr int scaledPixels(int pixels, int dpi) { return twipsToPixels(pixels * (TwipsPerInch / LayoutDpi), dpi); }

// From 1.5 device pixels per pixel (144 dpi: 150 % and 200 % scaling) the
// picture drawn at twice the size is sharper than the plain one enlarged;
// below it the plain one is shown as it is.
constexpr bool showsSharpPictures(double devicePixelsPerPixel) { return devicePixelsPerPixel >= 1.5; }
constexpr bool showsSharpPicturesAtDpi(int dpi) { return showsSharpPictures(static_cast<double>(dpi) / LayoutDpi); }

static_assert(twipsToPixels(10020) == 668 && twipsToPixels(7950) == 530 && twipsToPixels(7) == 0 &&
                  twipsToPixels(8) == 1 && twipsToPixels(-8) == -1 && twipsToPixels(1275, 144) == 128 &&
                  scaledPixels(11, 144) == 17 && scaledPixels(11, 120) == 14,
              "whole pixels, halves away from zero");
static_assert(!showsSharpPicturesAtDpi(143) && showsSharpPicturesAtDpi(144), "the sharp pictures from 144 dpi up");

}  // namespace trelvane
