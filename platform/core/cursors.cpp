// SPDX-License-Identifier: MIT
#include "platform/core/cursors.h"

#include <QGuiApplication>
#include <QMap>
#include <QPixmap>

namespace platform {

namespace {

QMap<TCursor, QCursor>& Table() {
    static QMap<TCursor, QCursor> table;
    return table;
}

Qt::CursorShape StandardShape(TCursor id) {
    switch (id) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

TCursor& ScreenCursor() {
    static TCursor cursor = crDefault;
    return cursor;
}

bool& OverrideActive() {
    static bool active = false;
    return active;
}

} // namespace

QCursor CursorRegistry::Get(TCursor id) {
    const auto it = Table().constFind(id);
    if (it != Table().constEnd())
        return *it;
    return QCursor(StandardShape(id));
}

void CursorRegistry::Set(TCursor id, const QCursor& cursor) {
    Table().insert(id, cursor);
}

bool CursorRegistry::Contains(TCursor id) {
    return Table().contains(id) || id <= 0;
}

bool CursorRegistry::LoadResource(TCursor id, const QString& name, int hotX, int hotY) {
    const QPixmap pixmap(QStringLiteral(":/cursors/%1.png").arg(name.toLower()));
    if (pixmap.isNull())
        return false;
    Set(id, QCursor(pixmap, hotX, hotY));
    return true;
}

TCursor Screen::Cursor() {
    return ScreenCursor();
}

void Screen::SetCursor(TCursor id) {
    ScreenCursor() = id;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (id == crDefault) {
        if (OverrideActive())
            QGuiApplication::restoreOverrideCursor();
        OverrideActive() = false;
        return;
    }
    if (OverrideActive()) {
        QGuiApplication::changeOverrideCursor(CursorRegistry::Get(id));
    } else {
        QGuiApplication::setOverrideCursor(CursorRegistry::Get(id));
        OverrideActive() = true;
    }
}

WaitCursor::WaitCursor()
    : previous_(Screen::Cursor()) {
    Screen::SetCursor(crHourGlass);
}

WaitCursor::WaitCursor(TCursor after)
    : previous_(after) {
    Screen::SetCursor(crHourGlass);
}

WaitCursor::~WaitCursor() {
    Screen::SetCursor(previous_);
}

} // namespace platform
