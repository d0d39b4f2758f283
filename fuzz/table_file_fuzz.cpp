// SPDX-License-Identifier: MIT
// Hostile table files: whatever the bytes, opening, walking and reading blobs must fail with
// a message or succeed, never crash or leak.
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/dialogs.h"
#include "platform/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

// A wrong password makes the session ask; here nobody answers.
class NoDialogs : public platform::DialogService {
public:
    int MessageBox(QWidget*, const QString&, const QString&, unsigned) override {
        return platform::IDCANCEL;
    }
    std::optional<QString> PromptText(QWidget*, const QString&, const QString&, bool) override {
        return std::nullopt;
    }
    std::optional<QString> SaveFileName(QWidget*, const QString&, const QString&, const QString&,
                                        const QString&) override {
        return std::nullopt;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static QTemporaryDir dir;
    static const bool ready = [] {
        static NoDialogs dialogs;
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
