// SPDX-License-Identifier: MIT
#include "tests/e2e/print_session.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <iostream>

void PrintSession::LaunchPrinting(const QString& title, const QStringList& extra) {
    // Where CUPS cannot run (not root, or no cups-pdf), the program sees no scheduler and the
    // same dialog prints to a PDF file; where it can, a scheduler that failed fails.
    ASSERT_TRUE(cups.Running() || !cups.Possible())
        << "the CUPS scheduler failed: " << cups.WhyNot().toStdString();
    const bool queue = cups.Running() && !toPdfFile;
    if (!queue)
        toFile = QDir(out.path()).filePath(QStringLiteral("printed.pdf"));
    const QString server =
        queue ? cups.Server() : QDir(out.path()).filePath(QStringLiteral("none"));
    Launch(title, QStringList{"CUPS_SERVER=" + server} + extra);
}

void PrintSession::TearDown() {
    MainWindowSession::TearDown();
    if (!pdf.isEmpty())
        QFile::remove(pdf);
}

void PrintSession::PrintFromDialog(const QString& jobName) {
    const auto dialog = x.WaitForWindow("Print", 10000);
    ASSERT_TRUE(dialog.has_value()) << "the print dialog";
    QThread::msleep(500);
    x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath(jobName + "-dialog.png"));
    if (toFile.isEmpty()) {
        x.Xdo({"key", "Return"}); // Print, to the default queue
        pdf = cups.WaitForPdf(jobName, 30000);
        ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote no PDF";
        return;
    }
    if (!toPdfFile)
        std::cerr << "No CUPS here (" << cups.WhyNot().toStdString()
                  << "): printing to a PDF file through the same dialog\n";
    // "Print to File (PDF)" is the printer; Alt+F goes to its "Output file" field.
    x.Xdo({"key", "alt+f"});
    x.Xdo({"key", "ctrl+a"});
    x.Xdo({"type", toFile});
    x.Xdo({"key", "Return"});
    pdf = WaitForFile(toFile);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF file was printed";
}

void PrintSession::ExpectOnePicture(const QString& fileName, QSize size) {
    const QString info = QString::fromUtf8(x.Output("pdfinfo", {pdf}));
    const QString title = QStringLiteral("Title:\\s+\\(?") + QRegularExpression::escape(fileName);
    EXPECT_TRUE(info.contains(QRegularExpression(title))) << info.toStdString();
    const QStringList images =
        QString::fromUtf8(x.Output("pdfimages", {"-list", pdf})).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3) << "a header of two lines and one picture";
    const QStringList columns = images[2].simplified().split(u' ');
    ASSERT_GT(columns.size(), 4);
    EXPECT_EQ(columns[3], QString::number(size.width()));
    EXPECT_EQ(columns[4], QString::number(size.height()));
}
