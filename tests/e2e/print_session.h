// SPDX-License-Identifier: MIT
#pragma once

// The real program printing through the real print dialog to a real print queue: a private
// CUPS scheduler with a cups-pdf queue, or, where CUPS cannot run, the dialog's PDF file
// printer. The dialog is worked with the keyboard alone.

#include "tests/e2e/main_window_session.h"
#include "tests/support/cups_session.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class PrintSession : public MainWindowSession {
protected:
    /// Starts the program (with `extra` in its environment) seeing the queue's scheduler, or
    /// none when the PDF file printer is to be used.
    void LaunchPrinting(const QString& title, const QStringList& extra = {});
    void TearDown() override;

    /// Prints through the dialog that is open, to the queue or into the file `toFile`; `pdf`
    /// is then the PDF written (a fatal failure when none comes).
    void PrintFromDialog(const QString& jobName);
    /// The PDF printed is the job of the record's file `fileName` (the title), and its page
    /// holds one picture of `size` pixels.
    void ExpectOnePicture(const QString& fileName, QSize size);

    CupsSession cups;
    QTemporaryDir out;
    QString toFile, pdf;
    bool toPdfFile = false; // the dialog's PDF file printer even where a queue runs
};
