// SPDX-License-Identifier: MIT
#pragma once

// The real program started under a private X server with an INI of the test's own, and the
// steps a person takes in its main window.

#include "tests/support/xvfb_session.h"

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

class MainWindowSession : public ::testing::Test {
protected:
    /// Starts the program with the window title `title` (and these NAME=value settings) and
    /// waits for its main window; a fatal failure when it does not come.
    void Launch(const QString& title, const QStringList& environment = {});
    void TearDown() override;

    /// The main window as it is on the screen; the whole screen is kept under `name` in the
    /// screenshot folder.
    QImage Shot(const QString& name);
    /// A left click at a point of the main window.
    void Click(QPoint inWindow);
    /// A File menu command by its key, the main window clicked first so it has the keyboard;
    /// the open menu is kept under `shot` when given.
    void Menu(const char* key, const QString& shot = {});
    /// The file once something is in it and its size has settled ("" when none came).
    static QString WaitForFile(const QString& file);

    XvfbSession x;
    QTemporaryDir dir;
    std::unique_ptr<QProcess> process;
    std::optional<QRect> main;
};
