// SPDX-License-Identifier: MIT
#pragma once

// The enumerations the image library shares between its controls and the engine binding,
// in declaration order (the ordinal is the position).

namespace imaging {

enum TLoadResolution { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
enum TSaveResolution {
    sColorVga,
    sMonoChrome,
    sColor16,
    sColor256,
    sColorTrue,
    sJpegGray,
    sAutoMatic
};
enum TPCDMode { pcd_BASE16, pcd_BASE4, pcd_BASE };
enum TSortDither { IL_BAYER, IL_BURKES, IL_FLOYD, IL_GRAYSCALE };
enum TFXMethod { FXNone, FXHorizontal, FXVertical, FXDiagonal, FXDiagonalSquares, FXRectangles };
enum TTiffCompression { sNONE, sCCITT, sFAXCCITT3, sFAXCCITT4, sLZW, sPACKBITS };
enum TBlitMode { sLight, sDark, sLightest };

} // namespace imaging
