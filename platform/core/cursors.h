// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QString>

namespace platform {

/// Cursor identifiers of the screen's cursor list; positive ids are the program's own.
using TCursor = int;
enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

/// The screen's cursor list: standard cursors plus those the program registers.
class CursorRegistry {
public:
    /// The cursor for an id; an unknown id gives the arrow.
    static QCursor Get(TCursor id);
    static void Set(TCursor id, const QCursor& cursor);
    static bool Contains(TCursor id);

    /// A cursor resource by name (":/cursors/<name lower-case>.png"); hot spot in the centre
    /// unless given. Null when the resource does not exist.
    static bool LoadResource(TCursor id, const QString& name, int hotX = -1, int hotY = -1);
};

/// The application-wide cursor (the screen's Cursor property): crDefault lets each window
/// show its own cursor; any other id overrides all of them.
class Screen {
public:
    static TCursor Cursor();
    static void SetCursor(TCursor id);
};

/// Shows the wait cursor for its lifetime and restores the previous one, also on failure.
class WaitCursor {
public:
    WaitCursor();
    /// Shows `after` when it ends instead of the cursor before it.
    explicit WaitCursor(TCursor after);
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    /// The cursor it puts back.
    TCursor Previous() const { return previous_; }

private:
    TCursor previous_;
};

} // namespace platform
