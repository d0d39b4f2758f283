// SPDX-License-Identifier: MIT
#include "platform/core/system_colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

QColor GetSysColor(int index) {
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette();
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_MENU:
        return palette.color(QPalette::Base);
    case COLOR_WINDOWFRAME:
    case COLOR_3DDKSHADOW:
        return palette.color(QPalette::Shadow);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
        return palette.color(QPalette::Text);
    case COLOR_BTNFACE:
    case COLOR_SCROLLBAR:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
        return palette.color(QPalette::Button);
    case COLOR_BTNSHADOW:
        return palette.color(QPalette::Dark);
    case COLOR_BTNTEXT:
        return palette.color(QPalette::ButtonText);
    case COLOR_BTNHIGHLIGHT:
        return palette.color(QPalette::Light);
    case COLOR_3DLIGHT:
        return palette.color(QPalette::Midlight);
    case COLOR_HIGHLIGHT:
    case COLOR_ACTIVECAPTION:
        return palette.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_CAPTIONTEXT:
        return palette.color(QPalette::HighlightedText);
    case COLOR_GRAYTEXT:
    case COLOR_INACTIVECAPTIONTEXT:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case COLOR_INACTIVECAPTION:
        return palette.color(QPalette::Inactive, QPalette::Highlight);
    case COLOR_APPWORKSPACE:
    case COLOR_BACKGROUND:
        return palette.color(QPalette::Mid);
    case COLOR_INFOTEXT:
        return palette.color(QPalette::ToolTipText);
    case COLOR_INFOBK:
        return palette.color(QPalette::ToolTipBase);
    default:
        return QColor(Qt::black);
    }
}

QColor ColorToQColor(TColor color) {
    if (color & SystemColourFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace platform
