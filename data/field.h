// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_set.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QIODevice;

namespace data {

enum class TFieldType { ftString, ftBlob };

/// One column of a record source, read from its current record.
/// A field made by the program (a persistent field) fixes the record source's field list;
/// without any, the record source makes one field per stored column when it opens.
class TField : public QObject {
    Q_OBJECT
public:
    ~TField() override;

    TDataSet* DataSet() const { return dataSet_; }
    const QString& FieldName() const { return fieldName_; }
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }

    /// Whether the field may be written: not read-only and its record source can be modified.
    bool CanModify() const;

    /// The value as text (a blob's bytes as a string, one character a byte).
    virtual QString AsString() const = 0;
    QString Text() const { return AsString(); }

    /// Whether the current record holds no value (an empty text or blob).
    virtual bool IsNull() const = 0;

    /// Where the record source keeps this field's values (set when it opens).
    int Column() const { return column_; }
    void SetColumn(int column) { column_ = column; }

protected:
    TField(TDataSet* dataSet, const QString& fieldName, TFieldType type, int size, QObject* owner);

private:
    friend class TDataSet;
    QPointer<TDataSet> dataSet_;
    QString fieldName_;
    TFieldType dataType_;
    int size_;
    bool readOnly_ = false;
    int column_ = -1;
};

/// A text field of a given size.
class TStringField : public TField {
    Q_OBJECT
public:
    TStringField(TDataSet* dataSet, const QString& fieldName, int size, QObject* owner = nullptr);

    /// The text of the current record (or of the one a filter examines).
    QString Value() const;
    /// The same text where the record source holds it, without a copy: valid until the
    /// record source closes.
    QAnyStringView View() const;
    QString AsString() const override { return Value(); }
    bool IsNull() const override;
};

/// An untyped byte blob, read from the store on demand.
class TBlobField : public TField {
    Q_OBJECT
public:
    TBlobField(TDataSet* dataSet, const QString& fieldName, QObject* owner = nullptr);

    /// The whole content of the current record's blob.
    QByteArray Value() const;
    qint64 BlobSize() const;

    QString AsString() const override;
    bool IsNull() const override { return BlobSize() == 0; }

    /// Writes the whole content to a stream or a file.
    void SaveToStream(QIODevice& stream) const;
    void SaveToFile(const QString& fileName) const;

    /// Replaces the whole content; needs the record in edit, which a read-only table refuses.
    void LoadFromStream(QIODevice& stream);
    void LoadFromFile(const QString& fileName);
};

} // namespace data
