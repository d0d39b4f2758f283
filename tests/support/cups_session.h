// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/// A private CUPS scheduler for end-to-end tests, on a socket of its own, with one queue
/// ("VellamorePDF", the default) that writes PDF files through the cups-pdf backend. A program
/// given `CUPS_SERVER=<Server()>` sees only this queue. Needs root (the backend runs as root);
/// Running() says whether it came up and why not.
class CupsSession {
public:
    CupsSession();
    ~CupsSession();
    CupsSession(const CupsSession&) = delete;
    CupsSession& operator=(const CupsSession&) = delete;

    bool Running() const { return why_.isEmpty(); }
    /// Whether a scheduler with the cups-pdf queue can run here at all (as root, with
    /// printer-driver-cups-pdf installed): where it can, not Running() is a failure.
    bool Possible() const { return possible_; }
    /// Why the scheduler or its queue is not there ("" when it is).
    const QString& WhyNot() const { return why_; }
    QString Server() const { return dir_.filePath(QStringLiteral("cups.sock")); }
    static QString Queue() { return QStringLiteral("VellamorePDF"); }

    /// The PDF the queue has written since the session started for the job titled `title`
    /// (its document title holds it), waited for up to timeoutMs ("" when none came). The
    /// caller removes it.
    QString WaitForPdf(const QString& title, int timeoutMs) const;

private:
    bool Run(const QString& tool, const QStringList& args) const;
    QString OutputFolder() const;

    QTemporaryDir dir_;
    QProcess scheduler_;
    QDateTime started_;
    QString why_;
    bool possible_ = false;
};
