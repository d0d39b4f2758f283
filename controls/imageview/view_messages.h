// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/messages.h"

namespace controls {

// The messages the image view posts and takes, numbered here only.
constexpr unsigned kStateChangedMessage = platform::WM_USER + 14; // 1038, to the toolbar
constexpr unsigned kAnnotationEditMessage = 1039;
constexpr unsigned kAnnotationDoneMessage = 1040;
constexpr unsigned kKeyDownMessage = 1041;
constexpr unsigned kAnnotationMouseDownMessage = 1042;
constexpr unsigned kAnnotationMouseUpMessage = 1043;
constexpr unsigned kAnnotationMouseMoveMessage = 1044;
constexpr unsigned kAnnotationObjectMessage = 1045;
constexpr unsigned kScrollingTickMessage = platform::WM_USER + 1; // 1025
constexpr unsigned kRollingTickMessage = platform::WM_USER + 2;   // 1026
constexpr unsigned kAnnotationClickMessage = 1537;                // from the annotation layer
// The platform's clipboard and command messages.
constexpr unsigned WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_COMMAND = 0x0111;

} // namespace controls
