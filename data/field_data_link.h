// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_link.h"
#include "data/field.h"

#include <QPointer>
#include <QString>
#include <functional>

class QObject;

namespace data {

/// A data link bound to one field of its record source, for controls that show one value.
class TFieldDataLink : public TDataLink {
public:
    explicit TFieldDataLink(QObject* control = nullptr)
        : control_(control) {}

    /// The owning control; its name goes in front of a failed field lookup.
    QObject* Control() const { return control_; }

    const QString& FieldName() const { return fieldName_; }
    /// Binds another field by name; looked up at once when the link is active.
    void SetFieldName(const QString& name);
    TField* Field() const { return field_; }

    bool Modified() const { return modified_; }
    /// Editing this field: the record source edits and the link may modify.
    bool Editing() const { return fieldEditing_; }

    // The hooks a control sets.
    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;
    std::function<void()> OnActiveChange;

    /// Whether the control may change the field: not read-only and the field can be written.
    bool CanModify() const;
    /// Starts an edit when it may modify; returns whether the link is editing.
    bool Edit();
    void SetModified() { modified_ = true; }
    /// Shows the stored value again.
    void Reset();

    void NotifyActiveChange() override;
    void NotifyEditingChange() override;
    void NotifyLayoutChange() override;
    void NotifyRecordChange(TField* field) override;

protected:
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* field);

    QPointer<QObject> control_;
    QString fieldName_;
    QPointer<TField> field_;
    bool modified_ = false;
    bool fieldEditing_ = false;
};

} // namespace data
