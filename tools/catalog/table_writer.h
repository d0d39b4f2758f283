// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace catalog {

/// A column of a table file to write: its name and declared type ("VARCHAR(12)", "BLOB").
struct ColumnDef {
    QString Name;
    QString DeclaredType;
};

/// Writes one table file of the store: an encrypted database holding exactly one table.
/// The file appears only when Commit succeeds; until then a temporary file is written.
class TableWriter {
public:
    class Error : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    /// An empty password writes a file that is not encrypted.
    TableWriter(const QString& path, const QString& tableName, std::vector<ColumnDef> columns,
                const QByteArray& password);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    /// One value per column: a QString for text, a QByteArray for a blob.
    void AddRow(const std::vector<QVariant>& values);
    /// Finishes the file. A table with blobs also gets an index over its other columns, so
    /// reading them never touches the pages that hold the blobs.
    void Commit();

private:
    void Exec(const QString& sql);
    [[noreturn]] void Fail(const QString& what);

    QString path_;
    QString tempPath_;
    QString tableName_;
    std::vector<ColumnDef> columns_;
    size_t columnCount_ = 0;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

} // namespace catalog
