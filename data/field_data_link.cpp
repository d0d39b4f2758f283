// SPDX-License-Identifier: MIT
#include "data/field_data_link.h"

#include "data/data_set.h"
#include "data/field.h"
#include "platform/core/errors.h"

namespace data {

void TFieldDataLink::SetFieldName(const QString& name) {
    if (fieldName_ != name) {
        fieldName_ = name;
        UpdateField();
    }
}

void TFieldDataLink::UpdateField() {
    TField* field = nullptr;
    if (Active() && !fieldName_.isEmpty()) {
        field = DataSet()->FindField(fieldName_);
        if (!field) {
            SetField(nullptr); // the old field no longer answers to the name
            if (!control_)
                DataSet()->LookupField(fieldName_); // raises for the record source
            throw platform::ComponentError(control_->objectName(),
                                           QStringLiteral("Field '%1' not found").arg(fieldName_));
        }
    }
    SetField(field);
}

void TFieldDataLink::SetField(TField* field) {
    if (field_ == field && field)
        return;
    field_ = field;
    modified_ = false;
    NotifyEditingChange();
    NotifyRecordChange(nullptr);
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && field_ && field_->CanModify();
}

bool TFieldDataLink::Edit() {
    if (CanModify() && DataSet())
        DataSet()->Edit();
    return fieldEditing_;
}

void TFieldDataLink::Reset() {
    NotifyRecordChange(nullptr);
}

void TFieldDataLink::NotifyActiveChange() {
    UpdateField();
    if (OnActiveChange)
        OnActiveChange();
}

void TFieldDataLink::NotifyEditingChange() {
    const bool editing = TDataLink::Editing() && CanModify();
    if (editing != fieldEditing_) {
        fieldEditing_ = editing;
        modified_ = false;
        if (OnEditingChange)
            OnEditingChange();
    }
}

void TFieldDataLink::NotifyLayoutChange() {
    UpdateField();
}

void TFieldDataLink::NotifyRecordChange(TField* field) {
    if (field == nullptr || field == field_) {
        if (OnDataChange)
            OnDataChange();
        modified_ = false;
    }
}

void TFieldDataLink::UpdateData() {
    if (modified_) {
        if (field_ && OnUpdateData)
            OnUpdateData();
        modified_ = false;
    }
}

} // namespace data
