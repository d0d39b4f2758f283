// SPDX-License-Identifier: MIT
// Hostile database pages behind a valid encryption: the input is taken as a plain database
// file, encrypted with the catalogue key here (so page authentication passes), then opened
// as a table, walked and every blob read. This reaches the database engine's page parser
// and our schema and row readers, which encrypted fuzz bytes never get past authentication.
#include "data/catalogue_schema.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "data/table_file.h"
#include "platform/core/dialogs.h"
#include "platform/core/errors.h"

#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>

namespace {

// Encrypts the plain database file `plain` into `encrypted`; false when the engine refuses
// the plain file (that refusal is the parser at work on hostile pages too).
bool Encrypt(const QString& plain, const QString& encrypted) {
    QFile::remove(encrypted);
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(plain);
    // Read-write and create: the attached copy is made and written through this connection.
    bool ok = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr) == SQLITE_OK;
    // The encrypted copy has the store's page size and key, as the catalogue builder makes it.
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(encrypted) +
                              "' AS store KEY '" + data::catalogue::kTablePassword.toUtf8() + "'";
    for (const QByteArray& sql :
         {attach, QByteArray("PRAGMA store.cipher_page_size = 4096"),
          QByteArray("SELECT sqlcipher_export('store')"), QByteArray("DETACH DATABASE store")})
        ok = ok && sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static QTemporaryDir dir;
    static const bool ready = [] {
        static platform::NoDialogs dialogs; // no prompt is ever answered
        platform::SetDialogService(&dialogs);
        data::Session().AddPassword(data::catalogue::kTablePassword);
        return true;
    }();
    (void)ready;
    const QString plain = dir.filePath(QStringLiteral("plain.db"));
    const QString encrypted = dir.filePath(QStringLiteral("store.db"));
    {
        QFile file(plain);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size));
    }
    if (!Encrypt(plain, encrypted))
        return 0;
    data::TTable table;
    table.SetTableName(encrypted);
    try {
        table.Open();
        for (int i = 0; i < table.CountRecords() && i < 256; ++i, table.GoNext())
            for (data::TField* field : table.Fields()) {
                (void)field->AsString();
                if (auto* blob = qobject_cast<data::TBlobField*>(field))
                    (void)blob->Value();
            }
    } catch (const platform::Exception&) {
    }
    return 0;
}
