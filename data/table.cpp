// SPDX-License-Identifier: MIT
#include "data/table.h"

#include "data/field.h"
#include "data/session.h"
#include "data/table_file.h"
#include "platform/core/paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <system_error>

namespace data {

namespace {

QString TypeName(TFieldType type) {
    return type == TFieldType::ftBlob ? QStringLiteral("Blob") : QStringLiteral("String");
}

bool IsFullPath(const QString& name) {
    return name.startsWith(u'/') || name.startsWith(u'\\') ||
           (name.size() >= 3 && name[1] == u':' && platform::IsPathSeparator(name[2]));
}

QString ResolveTablePath(const QString& databaseName, const QString& tableName) {
    QString path = IsFullPath(tableName) || databaseName.isEmpty()
                       ? tableName
                       : platform::JoinPath(databaseName, tableName);
    path.replace(u'\\', u'/');
    if (platform::ExtractFileExt(path).isEmpty())
        path += QStringLiteral(".db");
    const QFileInfo info(path);
    if (info.exists())
        return info.absoluteFilePath();
    // Table names come from another platform's habits ("category.DB"); allow for case.
    const QDir dir = info.absoluteDir();
    for (const QString& entry : dir.entryList(QDir::Files)) {
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(entry);
    }
    return info.absoluteFilePath();
}

// The stored column a field of that name reads, or -1.
int ColumnOf(const std::vector<StoreColumn>& columns, const QString& name) {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

// A field as the read-ahead sees it: its name and type.
struct FieldShape {
    QString Name;
    TFieldType Type;
};

// The text columns a table with these fields reads, in the order of its fields (every
// column in stored order when it has none of its own); none when a field finds no column
// of its type, which the open itself then reports.
std::optional<std::vector<int>> TextColumns(const std::vector<StoreColumn>& columns,
                                            const std::vector<FieldShape>& fields) {
    std::vector<int> text;
    if (fields.empty()) {
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i].Type != TFieldType::ftBlob)
                text.push_back(static_cast<int>(i));
        return text;
    }
    for (const FieldShape& field : fields) {
        const int column = ColumnOf(columns, field.Name);
        if (column < 0 || columns[static_cast<size_t>(column)].Type != field.Type)
            return std::nullopt;
        if (field.Type != TFieldType::ftBlob)
            text.push_back(column);
    }
    return text;
}

} // namespace

struct TTable::ReadAheadResult {
    QString Path;
    bool Writable = false;
    std::unique_ptr<TableFile> File;
    std::vector<int> TextColumns;
    RowIds Ids;
    RecordTexts Texts;
};

TTable::TTable(QObject* owner)
    : TDataSet(owner) {}

TTable::~TTable() {
    try {
        Close();
    } catch (...) {
        // Links are told; nothing more can go wrong with a table that goes away.
    }
}

void TTable::CheckInactive() const {
    if (Active())
        Error(QStringLiteral("Cannot perform this operation on an open dataset"));
}

void TTable::SetDatabaseName(const QString& name) {
    CheckInactive();
    databaseName_ = name;
}

void TTable::SetTableName(const QString& name) {
    CheckInactive();
    tableName_ = name;
}

void TTable::SetReadOnly(bool value) {
    CheckInactive();
    readOnly_ = value;
}

QString TTable::TablePath() const {
    return ResolveTablePath(databaseName_, tableName_);
}

void TTable::OpenFile(const QString& path) {
    for (;;) {
        switch (file_->Open(path, Session().Passwords(), !readOnly_)) {
        case TableFile::OpenResult::Ok:
            return;
        case TableFile::OpenResult::Missing:
            Error(QStringLiteral("Cannot open table %1: the file does not exist").arg(path));
        case TableFile::OpenResult::NotATable:
            Error(QStringLiteral("Cannot open table %1: the file is not a table").arg(path));
        case TableFile::OpenResult::Damaged:
            Error(QStringLiteral("Cannot open table %1: the table file is damaged").arg(path));
        case TableFile::OpenResult::NeedsPassword:
            // Page authentication cannot tell a wrong password from a damaged first page.
            if (!Session().GetPassword(path))
                Error(QStringLiteral("Cannot open table %1: the password is not valid or the "
                                     "table file is damaged")
                          .arg(path));
            break;
        }
    }
}

// Persistent fields fix the field list and must each find their column; without any,
// one field is made per stored column.
void TTable::BindFields(std::vector<int>& textColumns) {
    const std::vector<StoreColumn>& columns = file_->Columns();
    if (Fields().empty()) {
        for (const StoreColumn& column : columns) {
            TField* field = column.Type == TFieldType::ftBlob
                                ? static_cast<TField*>(new TBlobField(this, column.Name, this))
                                : new TStringField(this, column.Name, column.Size, this);
            AdoptDynamicField(field);
        }
    }
    for (TField* field : Fields()) {
        const int column = ColumnOf(columns, field->FieldName());
        if (column < 0)
            Error(QStringLiteral("Field '%1' not found").arg(field->FieldName()));
        const TFieldType stored = columns[static_cast<size_t>(column)].Type;
        if (stored != field->DataType())
            Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                      .arg(field->FieldName(), TypeName(field->DataType()), TypeName(stored)));
        if (stored == TFieldType::ftBlob) {
            field->SetColumn(column);
        } else {
            field->SetColumn(static_cast<int>(textColumns.size()));
            textColumns.push_back(column);
        }
    }
}

void TTable::ReadAhead(const QString& databaseName, const QString& tableName, Reader reader) {
    DiscardReadAhead();
    // A record being edited is posted by the close before the open: the file is not read
    // while that may write it.
    if (State() == TDataSetState::dsEdit)
        return;
    std::vector<FieldShape> fields;
    for (const TField* field : Fields())
        if (!IsDynamicField(field))
            fields.push_back({field->FieldName(), field->DataType()});
    auto read = [path = ResolveTablePath(databaseName, tableName), fields, writable = !readOnly_,
                 passwords = Session().Passwords()]() -> std::unique_ptr<ReadAheadResult> {
        // Whatever goes wrong here (a file that does not open cleanly, no memory) leaves the
        // open to do it all, and to report it as always.
        try {
            auto result = std::make_unique<ReadAheadResult>();
            result->Path = path;
            result->Writable = writable;
            result->File = std::make_unique<TableFile>();
            if (result->File->Open(path, passwords, writable) != TableFile::OpenResult::Ok)
                return nullptr;
            std::optional<std::vector<int>> text = TextColumns(result->File->Columns(), fields);
            if (!text)
                return nullptr;
            result->TextColumns = std::move(*text);
            result->File->ReadRows(result->TextColumns, result->Ids, result->Texts);
            return result;
        } catch (...) {
            return nullptr;
        }
    };
    if (reader == Reader::Worker) {
        try {
            readAhead_ = std::async(std::launch::async, std::move(read));
        } catch (const std::system_error&) {
            // No thread to be had: the open reads the file itself.
        }
        return;
    }
    std::promise<std::unique_ptr<ReadAheadResult>> done;
    done.set_value(read());
    readAhead_ = done.get_future();
}

void TTable::DiscardReadAhead() {
    if (readAhead_.valid())
        readAhead_.get();
}

std::unique_ptr<TTable::ReadAheadResult> TTable::TakeReadAhead(const QString& path) {
    if (!readAhead_.valid())
        return nullptr;
    std::unique_ptr<ReadAheadResult> result = readAhead_.get();
    // The same file, opened as this open would open it, with a password the session still
    // holds.
    if (!result || result->Path != path || result->Writable != !readOnly_)
        return nullptr;
    const std::vector<QByteArray>& passwords = Session().Passwords();
    if (std::find(passwords.begin(), passwords.end(), result->File->Key()) == passwords.end())
        return nullptr;
    return result;
}

void TTable::InternalOpen(RecordCache& cache) {
    const QString path = TablePath();
    std::unique_ptr<ReadAheadResult> ahead = TakeReadAhead(path);
    if (ahead) {
        file_ = std::move(ahead->File);
    } else {
        file_ = std::make_unique<TableFile>();
        OpenFile(path);
    }
    std::vector<int> textColumns;
    BindFields(textColumns);
    if (ahead && textColumns == ahead->TextColumns) {
        cache.Ids = std::move(ahead->Ids);
        cache.Texts = std::move(ahead->Texts);
        return;
    }
    try {
        file_->ReadRows(textColumns, cache.Ids, cache.Texts);
    } catch (const TableFile::DamagedError&) {
        Error(QStringLiteral("Cannot open table %1: the table file is damaged").arg(path));
    }
}

void TTable::InternalClose() {
    file_.reset();
}

QByteArray TTable::ReadBlob(std::int64_t rowId, int column) const {
    if (!file_)
        return {};
    try {
        return file_->ReadBlob(rowId, column);
    } catch (const TableFile::DamagedError&) {
        Error(QStringLiteral("Cannot read a blob of table %1: the table file is damaged")
                  .arg(TablePath()));
    }
}

qint64 TTable::ReadBlobSize(std::int64_t rowId, int column) const {
    if (!file_)
        return 0;
    try {
        return file_->BlobSize(rowId, column);
    } catch (const TableFile::DamagedError&) {
        Error(QStringLiteral("Cannot read a blob of table %1: the table file is damaged")
                  .arg(TablePath()));
    }
}

bool TTable::CanModify() const {
    return !readOnly_ && file_ && file_->Writable();
}

void TTable::InternalPost(std::int64_t rowId,
                          const std::vector<std::pair<int, QByteArray>>& blobs) {
    try {
        file_->WriteBlobs(rowId, blobs);
    } catch (const TableFile::WriteError& e) {
        Error(QStringLiteral("Cannot write to table %1: %2")
                  .arg(TablePath(), QString::fromStdString(e.what())));
    }
}

QByteArray TTable::Key() const {
    return file_ && Active() ? file_->Key() : QByteArray();
}

} // namespace data
