// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace catalog {

/// What to build a catalogue from and where to put it.
struct BuildOptions {
    QString Manifest;   // CSV: file,description,category
    QString Pictures;   // folder holding the picture files
    QString Categories; // one tab caption per line; the first tab shows every category
    QString OutDir;     // receives the catalogue table and category.db
    QString CatalogueName = QStringLiteral("vlmor.db");
    /// Told how far the build has come: a stage ("checked", "written"), the entries done and
    /// their total (-1 while it is not known yet).
    std::function<void(const char* stage, int done, int total)> Progress;
};

struct BuildResult {
    QStringList Errors; // nothing is written when there are any
    int Records = 0;
};

/// Reads a categories file: captions in order, blank lines and "#" lines skipped.
QStringList ParseCategories(const QString& text, QStringList& errors);

/// Checks everything first, then writes both tables.
BuildResult BuildCatalogue(const BuildOptions& options);

/// Prints a catalogue (a folder holding the tables, or a catalogue table file) as the program
/// reads it. False, with a message on `out`, when a table cannot be opened.
bool ListCatalogue(const QString& location, QTextStream& out);

} // namespace catalog
