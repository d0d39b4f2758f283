// SPDX-License-Identifier: MIT
#include "data/table_file.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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

TStoreColumn ColumnFromDeclaration(const QString& name, const QString& declared) {
    static const QRegularExpression sized(QStringLiteral("^\\s*(VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    TStoreColumn column{name, TFieldType::ftString, 0};
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

QString QuoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

TTableFile::~TTableFile() {
    Close();
}

void TTableFile::Close() {
    if (blob_)
        sqlite3_blob_close(blob_);
    blob_ = nullptr;
    blobColumn_ = -1;
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
    table_.clear();
    columns_.clear();
}

TTableFile::TOpenResult TTableFile::Open(const QString& path,
                                         const std::vector<QByteArray>& passwords) {
    Close();
    const QFileInfo info(path);
    if (!info.exists())
        return TOpenResult::Missing;
    // Every database file is a whole number of pages, the smallest page 512 bytes.
    if (!info.isFile() || info.size() < kMinPage || info.size() % kMinPage != 0)
        return TOpenResult::NotATable;
    if (LooksLikePlainDatabase(path))
        return TryOpen(path, nullptr);
    for (const QByteArray& password : passwords) {
        const TOpenResult result = TryOpen(path, &password);
        if (result != TOpenResult::NeedsPassword)
            return result;
    }
    return TOpenResult::NeedsPassword;
}

TTableFile::TOpenResult TTableFile::TryOpen(const QString& path, const QByteArray* password) {
    Close();
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        Close();
        return TOpenResult::NotATable;
    }
    if (password &&
        sqlite3_key(db_, password->constData(), static_cast<int>(password->size())) != SQLITE_OK) {
        Close();
        return TOpenResult::NotATable;
    }
    const TOpenResult result = ReadSchema();
    if (result != TOpenResult::Ok)
        Close();
    // A plain file that does not decode is no database at all; an encrypted one wants a key.
    if (result == TOpenResult::NeedsPassword && !password)
        return TOpenResult::NotATable;
    return result;
}

TTableFile::TOpenResult TTableFile::ReadSchema() {
    Statement tables(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                         "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    if (tables.Code() != SQLITE_OK)
        return (tables.Code() & 0xff) == SQLITE_NOTADB ? TOpenResult::NeedsPassword
                                                       : TOpenResult::Damaged;
    QStringList names;
    int code;
    while ((code = sqlite3_step(tables.Get())) == SQLITE_ROW)
        names << ColumnText(tables.Get(), 0);
    if (code != SQLITE_DONE)
        return (code & 0xff) == SQLITE_NOTADB ? TOpenResult::NeedsPassword : TOpenResult::Damaged;
    if (names.size() != 1)
        return TOpenResult::NotATable;
    table_ = names.first();

    Statement info(db_, QStringLiteral("PRAGMA table_info(%1)").arg(QuoteIdentifier(table_)));
    if (info.Code() != SQLITE_OK)
        return TOpenResult::Damaged;
    while ((code = sqlite3_step(info.Get())) == SQLITE_ROW)
        columns_.push_back(
            ColumnFromDeclaration(ColumnText(info.Get(), 1), ColumnText(info.Get(), 2)));
    if (code != SQLITE_DONE)
        return TOpenResult::Damaged;
    return columns_.empty() ? TOpenResult::NotATable : TOpenResult::Ok;
}

void TTableFile::ReadRows(const std::vector<int>& columns, std::vector<std::int64_t>& rowIds,
                          std::vector<QString>& cells) const {
    QString sql = QStringLiteral("SELECT rowid");
    for (int column : columns)
        sql +=
            QStringLiteral(", ") + QuoteIdentifier(columns_.at(static_cast<size_t>(column)).Name);
    sql += QStringLiteral(" FROM %1 ORDER BY rowid").arg(QuoteIdentifier(table_));
    Statement rows(db_, sql);
    if (rows.Code() != SQLITE_OK)
        throw DamagedError();
    const int n = static_cast<int>(columns.size());
    int code;
    while ((code = sqlite3_step(rows.Get())) == SQLITE_ROW) {
        rowIds.push_back(sqlite3_column_int64(rows.Get(), 0));
        for (int i = 0; i < n; ++i)
            cells.push_back(ColumnText(rows.Get(), i + 1));
    }
    if (code != SQLITE_DONE)
        throw DamagedError();
}

sqlite3_blob* TTableFile::OpenBlob(std::int64_t rowId, int column) const {
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

QByteArray TTableFile::ReadBlob(std::int64_t rowId, int column) const {
    sqlite3_blob* blob = OpenBlob(rowId, column);
    if (!blob)
        return {};
    const int size = sqlite3_blob_bytes(blob);
    QByteArray bytes(size, Qt::Uninitialized);
    if (size > 0 && sqlite3_blob_read(blob, bytes.data(), size, 0) != SQLITE_OK)
        throw DamagedError();
    return bytes;
}

qint64 TTableFile::BlobSize(std::int64_t rowId, int column) const {
    sqlite3_blob* blob = OpenBlob(rowId, column);
    return blob ? sqlite3_blob_bytes(blob) : 0;
}

} // namespace data
