// SPDX-License-Identifier: MIT
#include "bench/bare_select.h"

#include "data/table_file.h"
#include "tools/catalog/catalogue_tables.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <benchmark/benchmark.h>

namespace bench {

long long BareSelect(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    data::KeyDatabase(db, catalog::TablePassword());
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT rowid, FileName, Description, Category FROM Catalogue "
                       "INDEXED BY Catalogue_text ORDER BY FileName, Description, Category",
                       -1, &stmt, nullptr);
    long long bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        bytes += sqlite3_column_int64(stmt, 0);
        for (int c = 1; c <= 3; ++c) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
            bytes += sqlite3_column_bytes(stmt, c);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return bytes;
}

} // namespace bench
