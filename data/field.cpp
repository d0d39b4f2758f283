// SPDX-License-Identifier: MIT
#include "data/field.h"

#include "data/data_set.h"
#include "platform/core/errors.h"

#include <QFile>
#include <QIODevice>

namespace data {

TField::TField(TDataSet* dataSet, const QString& fieldName, TFieldType type, int size,
               QObject* owner)
    : QObject(owner)
    , dataSet_(dataSet)
    , fieldName_(fieldName)
    , dataType_(type)
    , size_(size) {
    if (dataSet_)
        dataSet_->AddField(this);
}

TField::~TField() {
    if (dataSet_)
        dataSet_->RemoveField(this);
}

bool TField::CanModify() const {
    return !readOnly_ && dataSet_ && dataSet_->CanModify();
}

TStringField::TStringField(TDataSet* dataSet, const QString& fieldName, int size, QObject* owner)
    : TField(dataSet, fieldName, TFieldType::ftString, size, owner) {}

QString TStringField::Value() const {
    return View().toString();
}

QAnyStringView TStringField::View() const {
    return DataSet() ? DataSet()->CellView(Column()) : QAnyStringView();
}

bool TStringField::IsNull() const {
    return View().isEmpty();
}

TBlobField::TBlobField(TDataSet* dataSet, const QString& fieldName, QObject* owner)
    : TField(dataSet, fieldName, TFieldType::ftBlob, 0, owner) {}

QByteArray TBlobField::Value() const {
    return DataSet() ? DataSet()->BlobValue(*this) : QByteArray();
}

qint64 TBlobField::BlobSize() const {
    return DataSet() ? DataSet()->BlobSize(*this) : 0;
}

QString TBlobField::AsString() const {
    return QString::fromLatin1(Value());
}

void TBlobField::SaveToStream(QIODevice& stream) const {
    const QByteArray bytes = Value();
    if (stream.write(bytes) != bytes.size())
        throw platform::Exception(QStringLiteral("Stream write error"));
}

void TBlobField::SaveToFile(const QString& fileName) const {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw platform::Exception(QStringLiteral("Cannot create file %1").arg(fileName));
    SaveToStream(file);
    if (!file.flush())
        throw platform::Exception(QStringLiteral("Stream write error"));
}

void TBlobField::LoadFromStream(QIODevice& stream) {
    TDataSet* set = DataSet();
    const QString owner = set ? set->objectName() : QString();
    if (ReadOnly())
        throw platform::ComponentError(
            owner, QStringLiteral("Field '%1' cannot be modified").arg(FieldName()));
    if (!set || !IsEditState(set->State()))
        throw platform::ComponentError(owner, QStringLiteral("Dataset not in edit or insert mode"));
    set->SetBlobValue(*this, stream.readAll());
}

void TBlobField::LoadFromFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::FileOpenError(fileName);
    LoadFromStream(file);
}

} // namespace data
