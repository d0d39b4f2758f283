// SPDX-License-Identifier: MIT
#include "data/table_file.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace data {

namespace {

constexpr qint64 kMinPage = 512;

bool IsDamageCode(int code) {
    code &= 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_IOERR ||
           code == SQLITE_FORMAT;
}

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql) {
        const QByteArray text = sql.toUtf8();
        code_ = sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &stmt_,
                                   nullptr);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    int Code() const { return code_; }
    sqlite3_stmt* Get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int code_ = SQLITE_OK;
};

QString ColumnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    if (!text)
        return {};
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

StoreColumn ColumnFromDeclaration(const QString& name, const QString& declared) {
    static const QRegularExpression sized(QStringLiteral("^\\s*(VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    StoreColumn column{name, TFieldType::ftString, 0};
    if (declared.trimmed().compare(QStringLiteral("BLOB"), Qt::CaseInsensitive) == 0) {
        column.Type = TFieldType::ftBlob;
    } else if (const auto match = sized.match(declared); match.hasMatch()) {
        column.Size = std::min(match.captured(2).toInt(), 1 << 20);
    }
    return column;
}

bool LooksLikePlainDatabase(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

} // namespace

int KeyDatabase(sqlite3* db, const QByteArray& password) {
    const int code = sqlite3_key(db, password.constData(), static_cast<int>(password.size()));
    if (code != SQLITE_OK)
        return code;
    return sqlite3_exec(db, "PRAGMA cipher_page_size = 4096", nullptr, nullptr, nullptr);
}

QString QuoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

TableFile::~TableFile() {
    Close();
}

void TableFile::Close() {
    if (blob_)
        sqlite3_blob_close(blob_);
    blob_ = nullptr;
    blobColumn_ = -1;
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
    table_.clear();
    key_.clear();
    columns_.clear();
    writable_ = false;
}

TableFile::OpenResult TableFile::Open(const QString& path, const std::vector<QByteArray>& passwords,
                                      bool writable) {
    Close();
    const QFileInfo info(path);
    if (!info.exists())
        return OpenResult::Missing;
    // Every database file is a whole number of pages, the smallest page 512 bytes.
    if (!info.isFile() || info.size() < kMinPage || info.size() % kMinPage != 0)
        return OpenResult::NotATable;
    // Table files are always encrypted; a plain database file is refused before the
    // database engine parses any of its pages.
    if (LooksLikePlainDatabase(path))
        return OpenResult::NotATable;
    writable = writable && info.isWritable();
    for (const QByteArray& password : passwords) {
        const OpenResult result = TryOpen(path, password, writable);
        if (result != OpenResult::NeedsPassword)
            return result;
    }
    return OpenResult::NeedsPassword;
}

TableFile::OpenResult TableFile::TryOpen(const QString& path, const QByteArray& password,
                                         bool writable) {
    Close();
    const QByteArray name = QFile::encodeName(path);
    writable_ = writable;
    // A table file is read by one thread at a time (its record source's), so the connection
    // goes without the locks that would guard it from several: a million records are read
    // with a few calls each.
    if (sqlite3_open_v2(name.constData(), &db_,
                        (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) |
                            SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        Close();
        return OpenResult::NotATable;
    }
    if (KeyDatabase(db_, password) != SQLITE_OK) {
        Close();
        return OpenResult::NotATable;
    }
    const OpenResult result = ReadSchema();
    if (result != OpenResult::Ok)
        Close();
    else
        key_ = password;
    return result;
}

TableFile::OpenResult TableFile::ReadSchema() {
    Statement tables(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                         "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    if (tables.Code() != SQLITE_OK)
        return (tables.Code() & 0xff) == SQLITE_NOTADB ? OpenResult::NeedsPassword
                                                       : OpenResult::Damaged;
    QStringList names;
    int code;
    while ((code = sqlite3_step(tables.Get())) == SQLITE_ROW)
        names << ColumnText(tables.Get(), 0);
    if (code != SQLITE_DONE)
        return (code & 0xff) == SQLITE_NOTADB ? OpenResult::NeedsPassword : OpenResult::Damaged;
    if (names.size() != 1)
        return OpenResult::NotATable;
    table_ = names.first();

    Statement info(db_, QStringLiteral("PRAGMA table_info(%1)").arg(QuoteIdentifier(table_)));
    if (info.Code() != SQLITE_OK)
        return OpenResult::Damaged;
    while ((code = sqlite3_step(info.Get())) == SQLITE_ROW)
        columns_.push_back(
            ColumnFromDeclaration(ColumnText(info.Get(), 1), ColumnText(info.Get(), 2)));
    if (code != SQLITE_DONE)
        return OpenResult::Damaged;
    return columns_.empty() ? OpenResult::NotATable : OpenResult::Ok;
}

void TableFile::ReadRows(const std::vector<int>& columns, RowIds& rowIds,
                         RecordTexts& texts) const {
    QString sql = QStringLiteral("SELECT rowid");
    for (int column : columns)
        sql +=
            QStringLiteral(", ") + QuoteIdentifier(columns_.at(static_cast<size_t>(column)).Name);
    // An index holding every wanted column is far smaller than the table with its blobs;
    // read from it when there is one and restore stored order here.
    sql += QStringLiteral(" FROM %1").arg(QuoteIdentifier(table_));
    QStringList order;
    const QString index = CoveringIndex(columns, order);
    if (!index.isEmpty()) {
        // A full scan of an index is only planned when it gives the order asked for.
        for (QString& column : order)
            column = QuoteIdentifier(column);
        sql += QStringLiteral(" INDEXED BY %1 ORDER BY %2")
                   .arg(QuoteIdentifier(index), order.join(QStringLiteral(", ")));
    }
    Statement rows(db_, sql);
    if (rows.Code() != SQLITE_OK)
        throw DamagedError();
    const int n = static_cast<int>(columns.size());
    texts = RecordTexts(n);
    int code;
    try {
        while ((code = sqlite3_step(rows.Get())) == SQLITE_ROW) {
            rowIds.Add(sqlite3_column_int64(rows.Get(), 0));
            for (int i = 1; i <= n; ++i) {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), i));
                texts.AddUtf8(text ? text : "",
                              text ? size_t(sqlite3_column_bytes(rows.Get(), i)) : 0);
            }
        }
    } catch (const std::length_error&) {
        throw DamagedError(); // no catalogue holds 4 GiB of text: these are not its pages
    }
    if (code != SQLITE_DONE)
        throw DamagedError();
    if (const std::vector<size_t> stored = rowIds.Sort(); !stored.empty())
        texts.Reorder(stored);
    texts.Finish();
}

QString TableFile::CoveringIndex(const std::vector<int>& columns, QStringList& order) const {
    Statement list(db_, QStringLiteral("PRAGMA index_list(%1)").arg(QuoteIdentifier(table_)));
    QStringList indexes;
    while (list.Code() == SQLITE_OK && sqlite3_step(list.Get()) == SQLITE_ROW)
        indexes << ColumnText(list.Get(), 1);
    for (const QString& index : indexes) {
        Statement info(db_, QStringLiteral("PRAGMA index_info(%1)").arg(QuoteIdentifier(index)));
        QStringList held;
        while (info.Code() == SQLITE_OK && sqlite3_step(info.Get()) == SQLITE_ROW)
            held << ColumnText(info.Get(), 2);
        const bool covers = std::all_of(columns.begin(), columns.end(), [&](int c) {
            return held.contains(columns_[static_cast<size_t>(c)].Name, Qt::CaseInsensitive);
        });
        if (covers) {
            order = held;
            return index;
        }
    }
    return {};
}

sqlite3_blob* TableFile::OpenBlob(std::int64_t rowId, int column) const {
    if (!db_ || column < 0 || column >= static_cast<int>(columns_.size()))
        return nullptr;
    if (blob_ && blobColumn_ == column) {
        if (sqlite3_blob_reopen(blob_, rowId) == SQLITE_OK)
            return blob_;
        // A failed move leaves the handle unusable.
        sqlite3_blob_close(blob_);
        blob_ = nullptr;
    } else if (blob_) {
        sqlite3_blob_close(blob_);
        blob_ = nullptr;
    }
    const QByteArray table = table_.toUtf8();
    const QByteArray name = columns_[static_cast<size_t>(column)].Name.toUtf8();
    const int code =
        sqlite3_blob_open(db_, "main", table.constData(), name.constData(), rowId, 0, &blob_);
    if (code != SQLITE_OK) {
        if (blob_)
            sqlite3_blob_close(blob_);
        blob_ = nullptr;
        // A NULL or missing value is an empty blob; undecodable pages are damage.
        if (IsDamageCode(sqlite3_extended_errcode(db_)))
            throw DamagedError();
        return nullptr;
    }
    blobColumn_ = column;
    return blob_;
}

QByteArray TableFile::ReadBlob(std::int64_t rowId, int column) const {
    sqlite3_blob* blob = OpenBlob(rowId, column);
    if (!blob)
        return {};
    const int size = sqlite3_blob_bytes(blob);
    QByteArray bytes(size, Qt::Uninitialized);
    if (size > 0 && sqlite3_blob_read(blob, bytes.data(), size, 0) != SQLITE_OK)
        throw DamagedError();
    return bytes;
}

qint64 TableFile::BlobSize(std::int64_t rowId, int column) const {
    sqlite3_blob* blob = OpenBlob(rowId, column);
    return blob ? sqlite3_blob_bytes(blob) : 0;
}

void TableFile::WriteBlobs(std::int64_t rowId,
                           const std::vector<std::pair<int, QByteArray>>& blobs) {
    if (!db_ || !writable_)
        throw WriteError("the table file is open for reading only");
    // The blob handle kept for reading would be cut off by the update.
    if (blob_)
        sqlite3_blob_close(blob_);
    blob_ = nullptr;
    blobColumn_ = -1;
    auto fail = [this](const char* what) {
        const std::string reason = std::string(what) + ": " + sqlite3_errmsg(db_);
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw WriteError(reason);
    };
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("cannot start writing");
    for (const auto& [column, bytes] : blobs) {
        if (column < 0 || std::size_t(column) >= columns_.size())
            fail("no such column");
        Statement update(db_, QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE rowid = ?2")
                                  .arg(QuoteIdentifier(table_),
                                       QuoteIdentifier(columns_[std::size_t(column)].Name)));
        if (update.Code() != SQLITE_OK)
            fail("cannot prepare the update");
        if (bytes.isEmpty())
            sqlite3_bind_null(update.Get(), 1);
        else
            sqlite3_bind_blob64(update.Get(), 1, bytes.constData(), sqlite3_uint64(bytes.size()),
                                SQLITE_TRANSIENT);
        sqlite3_bind_int64(update.Get(), 2, rowId);
        if (sqlite3_step(update.Get()) != SQLITE_DONE)
            fail("cannot write the record");
    }
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("cannot finish writing");
}

} // namespace data
