// SPDX-License-Identifier: MIT
#include "engines/shared/codes.h"

namespace engine {

const char* CodeText(std::int16_t code) {
    switch (code) {
    case kErrNoMemory:
        return "Not enough memory for the picture";
    case kErrBadArgument:
        return "Invalid argument";
    case kErrNotThisFormat:
        return "The data is not a picture of this format";
    case kErrTruncated:
        return "The picture data is cut short";
    case kErrBadHeader:
        return "The picture's header is damaged";
    case kErrUnsupported:
        return "This kind of picture is not supported";
    case kErrTooLarge:
        return "The picture is too large";
    case kErrBufferTooSmall:
        return "The output buffer is too small";
    case kErrCancelled:
        return "Cancelled";
    case kErrCannotOpen:
        return "The file cannot be opened";
    case kErrCannotWrite:
        return "The file cannot be written";
    case kErrInternal:
        return "Internal error in the imaging engine";
    case kErrTwelveBitJpeg:
        return "12-bit JPEG samples are not supported";
    case kErrNoSuchPage:
        return "The TIFF file has no page of that number";
    case kErrNoScanner:
        return "No scanner was found. Check that the scanner is connected and switched on";
    case kErrScanner:
        return "The scanner could not scan; it may be busy or disconnected";
    default:
        return code > 0 ? "" : "Unknown imaging error";
    }
}

} // namespace engine
