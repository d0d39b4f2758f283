// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/decoding/decoder.h"
#include "imaging/export/picture_export.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace imaging {

/// The records of one export in their order, read on the thread that runs it.
struct ExportSource {
    int Count = 0;
    std::function<QString(int index)> FileName;
    std::function<QByteArray(int index)> Blob;
};

/// What becomes of a file that exists already.
enum class ExistingFiles {
    Refuse,  // nothing is written while any planned file exists
    Replace, // replaced, each through a side file
    Skip,    // left as it is
};

/// What an export did.
struct ExportSummary {
    int Written = 0;
    int Messages = 0;     // credit messages and rich text, skipped
    int Empty = 0;        // records without a picture, skipped
    int KeptExisting = 0; // existing files skipped
    QStringList Failures; // "NAME: reason", in record order
    QStringList Refused;  // the existing files that stopped a refusing export
    bool Cancelled = false;
};

/// What the export skipped, for its summary ("3 credit messages or rich text, 1 without a
/// picture"); empty when nothing was.
QString SkippedText(const ExportSummary& summary);

/// Progress of a pass: how many of how many are done. False stops the pass.
using ExportProgress = std::function<bool(int done, int total)>;

/// Writes the pictures of many records into one folder: a planning pass reads each record once
/// to learn what it is and name its file; the export pass reads them again and has them
/// decoded, encoded and written on the decoder's workers, a few at a time (so memory stays
/// bounded whatever the count), reporting progress on the calling thread meanwhile.
class BatchExport {
public:
    BatchExport(Decoder& workers, ExportOptions options, QString folder);

    /// False when the progress stopped it (nothing planned then).
    bool Plan(const ExportSource& source, const ExportProgress& progress = {});
    /// The files the plan writes, in record order (full paths).
    QStringList Files() const;
    /// Those of them that exist now.
    QStringList ExistingFiles() const;
    /// Runs the planned export.
    ExportSummary Run(const ExportSource& source, imaging::ExistingFiles existing,
                      const ExportProgress& progress = {});

private:
    struct PlannedFile {
        int Index = 0;
        QString Name, Path;
        ExportPlanItem Item;
    };

    Decoder& workers_;
    ExportOptions options_;
    QString folder_;
    std::vector<PlannedFile> files_;
    ExportSummary planned_; // what planning skipped or found failed
};

} // namespace imaging
