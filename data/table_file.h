// SPDX-License-Identifier: MIT
#pragma once

#include "data/field.h"
#include "data/record_texts.h"
#include "data/row_ids.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_blob;

namespace data {

/// One stored column of a table file.
struct StoreColumn {
    QString Name;
    TFieldType Type = TFieldType::ftString;
    int Size = 0; // characters of a string column; 0 when not declared
};

/// A table file of the store: an encrypted database file holding exactly one table,
/// opened read-only. Declared column types carry the field types: VARCHAR(n) or CHAR(n) is
/// a string of size n, BLOB a blob.
class TableFile {
public:
    enum class OpenResult { Ok, Missing, NotATable, Damaged, NeedsPassword };

    /// A failure while reading an open file: its pages do not decode.
    class DamagedError : public std::runtime_error {
    public:
        DamagedError()
            : std::runtime_error("damaged table file") {}
    };

    TableFile() = default;
    ~TableFile();
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    /// Opens the file with the first of the passwords that decodes it. Every page is
    /// authenticated when it is read, so bytes that were not written with the key are
    /// refused before they are parsed; a file that is not encrypted is no table. Asked to be
    /// `writable`, a file the user may not write is opened for reading only.
    OpenResult Open(const QString& path, const std::vector<QByteArray>& passwords,
                    bool writable = false);
    void Close();

    const QString& TableName() const { return table_; }
    /// The password that decoded the open file (the catalogue's key).
    const QByteArray& Key() const { return key_; }
    const std::vector<StoreColumn>& Columns() const { return columns_; }

    /// Reads the given columns of every record in stored order: one row id per record and
    /// columns.size() texts per record. Throws DamagedError.
    void ReadRows(const std::vector<int>& columns, RowIds& rowIds, RecordTexts& texts) const;

    /// The whole blob of one record, read incrementally; empty for an empty value.
    /// Throws DamagedError.
    QByteArray ReadBlob(std::int64_t rowId, int column) const;
    qint64 BlobSize(std::int64_t rowId, int column) const;

    /// Whether records may be written.
    bool Writable() const { return writable_; }
    /// A failure while writing: nothing of the record was changed.
    class WriteError : public std::runtime_error {
    public:
        explicit WriteError(const std::string& what)
            : std::runtime_error(what) {}
    };
    /// Replaces blobs of one record (column, bytes; empty bytes store no value), all in one
    /// transaction. Throws WriteError.
    void WriteBlobs(std::int64_t rowId, const std::vector<std::pair<int, QByteArray>>& blobs);

private:
    OpenResult TryOpen(const QString& path, const QByteArray& password, bool writable);
    OpenResult ReadSchema();
    sqlite3_blob* OpenBlob(std::int64_t rowId, int column) const;
    /// An index that holds all the given columns, with its columns in order; or "".
    QString CoveringIndex(const std::vector<int>& columns, QStringList& order) const;

    sqlite3* db_ = nullptr;
    mutable sqlite3_blob* blob_ = nullptr; // kept open and moved from row to row
    mutable int blobColumn_ = -1;
    QString table_;
    QByteArray key_;
    bool writable_ = false;
    std::vector<StoreColumn> columns_;
};

/// Gives an encrypted database file its key and the store's page size (4096 bytes, so a
/// record's text columns always sit on its first page, before any picture bytes).
/// Returns an SQLite result code.
int KeyDatabase(sqlite3* db, const QByteArray& password);

/// Quotes a name for use in a statement.
QString QuoteIdentifier(const QString& name);

} // namespace data
