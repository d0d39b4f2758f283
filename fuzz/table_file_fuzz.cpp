// SPDX-License-Identifier: MIT
// Hostile table files: whatever the bytes, opening, walking and reading blobs must fail with
// a message or succeed, never crash or leak.
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/core/dialogs.h"
#include "platform/core/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static QTemporaryDir dir;
    static const bool ready = [] {
        static platform::NoDialogs dialogs; // a wrong password makes the session ask
        platform::SetDialogService(&dialogs);
        data::Session().AddPassword(QStringLiteral("tamsin###"));
        return true;
    }();
    (void)ready;
    const QString path = dir.filePath(QStringLiteral("fuzz.db"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size));
    }
    data::TTable table;
    table.SetTableName(path);
    try {
        table.Open();
        for (int i = 0; i < table.CountRecords() && i < 64; ++i, table.GoNext()) {
            for (data::TField* field : table.Fields())
                (void)field->AsString();
        }
    } catch (const platform::Exception&) {
    }
    return 0;
}
