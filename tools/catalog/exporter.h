// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace catalog {

/// What `vlmor-catalog export` was asked for.
struct ExportRequest {
    QString Catalogue; // a program folder (or a catalogue table file)
    QString OutDir;
    QString Format;   // an extension the engine writes, or "stored"
    QString Vectors;  // "svg", "png" or "own"; empty: PNG for PNG, else SVG
    QString Category; // a tab caption; empty or the first tab's: every record
    QString Search;   // as the main window's search: within the description, any case
    QSize Fit;
    bool Replace = false, SkipExisting = false;
    bool ShowProgress = false; // a progress line on `err`
};

/// Reads the export's arguments (those after "export"); an empty string, or what is wrong.
QString ParseExportArguments(const QStringList& args, ExportRequest& request);

/// Exports the catalogue's records of the category and search; the process's exit status.
/// The summary goes to `out`, what failed or stopped it to `err`.
int ExportCatalogue(const ExportRequest& request, QTextStream& out, QTextStream& err);

} // namespace catalog
