// SPDX-License-Identifier: MIT
// File > Export Pictures: the records of the tab and search, or the overview's selection,
// written into a folder on the decoder's workers while a progress dialog counts them.
#include "app/data_module.h"
#include "app/export_options.h"
#include "app/main_window.h"
#include "app/overview_panel.h"
#include "controls/overview/overview_model.h"
#include "controls/overview/overview_view.h"
#include "imaging/export/batch_export.h"
#include "platform/core/dialogs.h"
#include "platform/core/error_reporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

// A few names of a long list, for a message box.
QString SomeOf(const QStringList& names, int most = 8) {
    QStringList shown;
    for (const QString& n : names.mid(0, most))
        shown << QFileInfo(n).fileName();
    QString text = shown.join(QStringLiteral("\n"));
    if (names.size() > most)
        text += QStringLiteral("\n... and %1 more").arg(names.size() - most);
    return text;
}

} // namespace

void TfMain::ExportPictures1Click() {
    platform::RunGuarded([this] {
        if (!data_ || !data_->Table1->Active())
            return;
        data::TTable& table = *data_->Table1;
        std::vector<int> records;
        if (InOverview()) {
            // As the contact sheet: several tiles selected, those; else every tile.
            records = pnlOverview->Grid()->SelectedRecords();
            if (records.size() < 2)
                records = pnlOverview->Grid()->Model().Records();
        } else {
            for (int i = 0; i < table.CountRecords(); ++i)
                records.push_back(table.VisibleRecord(i));
        }
        const QString caption = QStringLiteral("Export Pictures");
        if (records.empty()) {
            platform::Dialogs().MessageBox(this, QStringLiteral("There are no pictures to export."),
                                           caption, platform::MB_ICONINFORMATION);
            return;
        }
        ExportOptionsPage page;
        if (!platform::Dialogs().OptionsDialog(this, &page))
            return;
        const QString folder = page.Folder();
        if (folder.isEmpty()) {
            platform::Dialogs().MessageBox(this, QStringLiteral("Choose a folder to export into."),
                                           caption, platform::MB_ICONWARNING);
            return;
        }
        page.Remember();

        const imaging::ExportSource source{
            int(records.size()),
            [&](int i) { return table.RecordText(records[size_t(i)], *data_->Table1FileName); },
            [&](int i) { return table.RecordBlob(records[size_t(i)], *data_->Table1GraphicFile); }};
        QProgressDialog progress(QStringLiteral("Reading the records..."), QStringLiteral("Cancel"),
                                 0, source.Count, this);
        progress.setObjectName(QStringLiteral("dlgExportProgress"));
        progress.setWindowTitle(caption);
        progress.setWindowModality(Qt::WindowModal);
        // Shown at once: until it is, the window would take clicks while the records are read.
        progress.setMinimumDuration(0);
        progress.show();
        QString stage = QStringLiteral("Reading");
        const imaging::ExportProgress step = [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            progress.setLabelText(
                QStringLiteral("%1 %2 of %3 pictures...").arg(stage).arg(done).arg(total));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        };

        imaging::BatchExport batch(*decoder_, page.Options(), folder);
        if (!batch.Plan(source, step))
            return;
        imaging::ExistingFiles existing = imaging::ExistingFiles::Replace;
        if (const QStringList present = batch.ExistingFiles(); !present.isEmpty()) {
            progress.hide();
            const int answer = platform::Dialogs().MessageBox(
                this,
                QStringLiteral("%1 of the files exist already in %2:\n\n%3\n\nReplace them all? "
                               "No keeps them all and writes the others.")
                    .arg(present.size())
                    .arg(QDir::toNativeSeparators(folder), SomeOf(present)),
                caption, platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
            if (answer != platform::IDYES && answer != platform::IDNO)
                return;
            existing = answer == platform::IDYES ? imaging::ExistingFiles::Replace
                                                 : imaging::ExistingFiles::Skip;
            progress.reset();
        }
        stage = QStringLiteral("Exporting");
        const imaging::ExportSummary summary = batch.Run(source, existing, step);
        progress.reset();

        QString text = summary.Cancelled ? QStringLiteral("The export was cancelled. ") : QString();
        text += QStringLiteral("%1 pictures were exported to %2.")
                    .arg(summary.Written)
                    .arg(QDir::toNativeSeparators(folder));
        if (const QString skipped = imaging::SkippedText(summary); !skipped.isEmpty())
            text += QStringLiteral("\nSkipped: ") + skipped + u'.';
        if (!summary.Failures.isEmpty())
            text += QStringLiteral("\n\n%1 could not be exported:\n").arg(summary.Failures.size()) +
                    summary.Failures.mid(0, 8).join(u'\n') +
                    (summary.Failures.size() > 8 ? QStringLiteral("\n...") : QString());
        platform::Dialogs().MessageBox(this, text, caption,
                                       summary.Failures.isEmpty() ? platform::MB_ICONINFORMATION
                                                                  : platform::MB_ICONWARNING);
    });
}
