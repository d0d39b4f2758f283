// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

class QTemporaryDir;

/// A copy of the program directory `binDir` in `dir`, with an INI file of the test's own;
/// the path of its program.
QString MakeProgramDir(const QString& binDir, const QTemporaryDir& dir, const QByteArray& ini);

/// A private X server for end-to-end tests, with helpers to find windows and take
/// screenshots through the standard X tools.
class XvfbSession {
public:
    explicit XvfbSession(QSize screen = QSize(1024, 768));
    ~XvfbSession();

    bool Running() const { return running_; }
    QString Display() const { return QStringLiteral(":%1").arg(display_); }

    /// Geometry of the first mapped top-level window with exactly this name.
    std::optional<QRect> FindWindow(const QString& name) const;

    /// Waits up to timeoutMs for a window of that name to be mapped.
    std::optional<QRect> WaitForWindow(const QString& name, int timeoutMs) const;

    /// The whole screen as an image (null on failure); also written to savePath when given.
    QImage Screenshot(const QString& savePath = {}) const;

    /// Starts a program on this display.
    std::unique_ptr<QProcess> Start(const QString& program, const QStringList& args = {},
                                    const QStringList& environment = {}) const;

    /// Runs xdotool with these arguments on this display, then gives the program a moment.
    void Xdo(const QStringList& args) const;

    /// Runs a tool on this display and gives what it printed (empty when it failed).
    QByteArray Output(const QString& tool, const QStringList& args, int timeoutMs = 10000) const;

private:
    int display_ = 0;
    bool running_ = false;
    QProcess server_;
};
