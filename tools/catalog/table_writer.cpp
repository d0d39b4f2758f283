// SPDX-License-Identifier: MIT
#include "tools/catalog/table_writer.h"

#include "data/table_file.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <QFile>

namespace catalog {

TableWriter::TableWriter(const QString& path, const QString& tableName,
                         std::vector<ColumnDef> columns, const QByteArray& password)
    : path_(path)
    , tempPath_(path + QStringLiteral(".part"))
    , tableName_(tableName)
    , columns_(columns)
    , columnCount_(columns.size()) {
    QFile::remove(tempPath_);
    const QByteArray name = QFile::encodeName(tempPath_);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        Fail(QStringLiteral("cannot create %1").arg(tempPath_));
    if (!password.isEmpty() && data::KeyDatabase(db_, password) != SQLITE_OK)
        Fail(QStringLiteral("cannot set the key"));
    if (password.isEmpty())
        Exec(QStringLiteral("PRAGMA page_size = 4096"));
    Exec(QStringLiteral("PRAGMA journal_mode = OFF"));
    QString create = QStringLiteral("CREATE TABLE %1 (").arg(data::QuoteIdentifier(tableName));
    QString insert =
        QStringLiteral("INSERT INTO %1 VALUES (").arg(data::QuoteIdentifier(tableName));
    for (size_t i = 0; i < columns.size(); ++i) {
        const QString sep = i ? QStringLiteral(", ") : QString();
        create += sep + data::QuoteIdentifier(columns[i].Name) + u' ' + columns[i].DeclaredType;
        insert += sep + u'?';
    }
    Exec(create + u')');
    Exec(QStringLiteral("BEGIN"));
    const QByteArray sql = (insert + u')').toUtf8();
    if (sqlite3_prepare_v2(db_, sql.constData(), static_cast<int>(sql.size()), &insert_, nullptr) !=
        SQLITE_OK)
        Fail(QStringLiteral("cannot prepare the insert"));
}

TableWriter::~TableWriter() {
    sqlite3_finalize(insert_);
    if (db_) {
        sqlite3_close_v2(db_);
        QFile::remove(tempPath_); // not committed
    }
}

void TableWriter::Fail(const QString& what) {
    const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
    throw Error(QStringLiteral("%1: %2 (%3)").arg(path_, what, detail).toStdString());
}

void TableWriter::Exec(const QString& sql) {
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(QStringLiteral("cannot run %1").arg(sql));
}

void TableWriter::AddRow(const std::vector<QVariant>& values) {
    if (values.size() != columnCount_)
        Fail(QStringLiteral("a row needs %1 values").arg(columnCount_));
    sqlite3_reset(insert_);
    sqlite3_clear_bindings(insert_);
    for (size_t i = 0; i < values.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        int code;
        if (values[i].typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = values[i].toByteArray();
            code = sqlite3_bind_blob64(insert_, slot, bytes.constData(),
                                       static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
        } else {
            const QByteArray text = values[i].toString().toUtf8();
            code = sqlite3_bind_text64(insert_, slot, text.constData(),
                                       static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
        }
        if (code != SQLITE_OK)
            Fail(QStringLiteral("cannot bind a value"));
    }
    if (sqlite3_step(insert_) != SQLITE_DONE)
        Fail(QStringLiteral("cannot insert a row"));
}

void TableWriter::Commit() {
    QStringList text;
    bool hasBlob = false;
    for (const ColumnDef& c : columns_) {
        if (c.DeclaredType.compare(QStringLiteral("BLOB"), Qt::CaseInsensitive) == 0)
            hasBlob = true;
        else
            text << data::QuoteIdentifier(c.Name);
    }
    if (hasBlob && !text.isEmpty())
        Exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                 .arg(data::QuoteIdentifier(tableName_ + QStringLiteral("_text")),
                      data::QuoteIdentifier(tableName_), text.join(QStringLiteral(", "))));
    Exec(QStringLiteral("COMMIT"));
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    if (sqlite3_close(db_) != SQLITE_OK)
        Fail(QStringLiteral("cannot close"));
    db_ = nullptr;
    QFile::remove(path_);
    if (!QFile::rename(tempPath_, path_))
        throw Error(QStringLiteral("%1: cannot replace the file").arg(path_).toStdString());
}

} // namespace catalog
