// SPDX-License-Identifier: MIT
#pragma once

#include "data/field_data_link.h"

#include <QLabel>

namespace data {
class TDataSource;
}

namespace controls {

/// A read-only label showing one field of the current record.
class TDBText : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);
    ~TDBText() override;

    data::TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(data::TDataSource* source) { link_.SetDataSource(source); }
    const QString& DataField() const { return link_.FieldName(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    data::TField* Field() const { return link_.Field(); }

    bool WordWrap() const { return wordWrap(); }
    void SetWordWrap(bool value) { setWordWrap(value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

private:
    void DataChange();

    data::TFieldDataLink link_{this};
    bool autoSize_ = false;
};

} // namespace controls
