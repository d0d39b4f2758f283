// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <cstdint>

namespace platform {

/// A colour value as the forms store it: 0x00BBGGRR, or a system colour index with the
/// high bit set (clBtnFace is system colour 15).
using TColor = std::uint32_t;

enum SystemColourIndex : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};

constexpr TColor SystemColourFlag = 0x80000000u;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clWindow = SystemColourFlag | COLOR_WINDOW;
constexpr TColor clWindowText = SystemColourFlag | COLOR_WINDOWTEXT;
constexpr TColor clWindowFrame = SystemColourFlag | COLOR_WINDOWFRAME;
constexpr TColor clBtnFace = SystemColourFlag | COLOR_BTNFACE;
constexpr TColor clBtnShadow = SystemColourFlag | COLOR_BTNSHADOW;
constexpr TColor clBtnText = SystemColourFlag | COLOR_BTNTEXT;
constexpr TColor clBtnHighlight = SystemColourFlag | COLOR_BTNHIGHLIGHT;
constexpr TColor clHighlight = SystemColourFlag | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = SystemColourFlag | COLOR_HIGHLIGHTTEXT;
constexpr TColor clGrayText = SystemColourFlag | COLOR_GRAYTEXT;

/// The system colour of that index, from the matching role of the application palette.
QColor GetSysColor(int index);

/// A TColor resolved to a QColor (system colours through GetSysColor).
QColor ColorToQColor(TColor color);

} // namespace platform
