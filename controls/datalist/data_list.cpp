// SPDX-License-Identifier: MIT
#include "controls/datalist/data_list.h"

#include "data/data_set.h"
#include "data/data_source.h"
#include "data/field.h"

#include <QPointer>

namespace controls {

TListDataLink::TListDataLink(TDBDataList* list)
    : TFieldDataLink(list)
    , list_(list) {}

void TListDataLink::NotifyActiveChange() {
    TFieldDataLink::NotifyActiveChange();
    list_->FillRows();
}

void TListDataLink::NotifyDataSetChange() {
    TFieldDataLink::NotifyDataSetChange();
    if (DataSet() && DataSet()->State() != data::TDataSetState::dsInsert)
        list_->FillRows();
}

void TListDataLink::NotifyScroll(int) {
    list_->FollowCursor();
}

void TListDataLink::NotifyRecordChange(data::TField* field) {
    TFieldDataLink::NotifyRecordChange(field);
    if (field && field == Field())
        list_->RecordChanged();
}

TDBDataList::TDBDataList(QWidget* parent)
    : TCustomDragListBox(parent)
    , link_(std::make_unique<TListDataLink>(this)) {}

TDBDataList::~TDBDataList() {
    link_.reset(); // the link goes before the list box
}

void TDBDataList::SetDataSource(data::TDataSource* source) {
    if (source != link_->DataSource()) {
        link_->SetDataSource(source);
        FillRows();
    }
}

void TDBDataList::SetDataField(const QString& name) {
    if (name != link_->FieldName()) {
        try {
            link_->SetFieldName(name);
        } catch (...) {
            FillRows(); // no field: no rows
            throw;
        }
        FillRows();
    }
}

void TDBDataList::FillRows() {
    if (!link_ || link_->filling_)
        return;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{link_->filling_};
    link_->filling_ = true;

    data::TField* field = link_->Field();
    data::TDataSet* source = link_->Active() ? link_->DataSet() : nullptr;
    // The same records under the same field, all in the window already (a move to the first
    // or last record): walking them again would list the same rows.
    if (source && field && field == filledField_ &&
        source->VisibleGeneration() == filledGeneration_ &&
        source->CountRecords() == Items().Count() && link_->WindowSize() == Items().Count() &&
        source->WindowRecordCount() == Items().Count() && Items().Count() > 0) {
        SelectRow(link_->ActiveRow());
        rememberedRow_ = ItemIndex();
        return;
    }
    filledField_ = nullptr;
    Items().Clear();
    if (!source || !field)
        return;
    data::TDataSet& set = *source;
    data::TBookmark mark = set.MarkPosition();
    set.SuspendLinks();
    try {
        set.GoFirst();
        setUpdatesEnabled(false);
        if (field->DataType() == data::TFieldType::ftString) {
            // The texts stay in the record source; a row reads its record's when it is painted.
            // The cursor makes the same moves as a walk, so every link sees the same events.
            Items().SetReader(
                set.CountRecords(), [records = QPointer<data::TDataSet>(&set),
                                     column = QPointer<data::TField>(field)](int row) {
                    if (!records || !column || row < 0 || row >= records->CountRecords())
                        return QString();
                    return records->RecordText(records->VisibleRecord(row), *column);
                });
        } else {
            QStringList rows;
            rows.reserve(set.CountRecords());
            while (!set.AtEnd()) {
                rows.append(field->AsString());
                set.GoNext();
            }
            Items().SetRows(rows);
        }
        setUpdatesEnabled(true);
        link_->SetWindowSize(Items().Count());
    } catch (...) {
        setUpdatesEnabled(true);
        try {
            set.GotoMark(mark);
        } catch (...) {
        }
        set.ResumeLinks();
        set.FreeMark(mark);
        throw;
    }
    set.GotoMark(mark);
    set.ResumeLinks();
    set.FreeMark(mark);
    filledField_ = field;
    filledGeneration_ = set.VisibleGeneration();
    SelectRow(link_->ActiveRow());
    rememberedRow_ = Items().Count() > 0 ? ItemIndex() : -1;
}

void TDBDataList::FollowCursor() {
    if (link_->Active())
        rememberedRow_ = link_->ActiveRow();
    SetItemIndex(rememberedRow_);
}

void TDBDataList::RecordChanged() {
    if (!link_->Active() || Items().Count() == 0 || ItemIndex() < 0)
        return;
    Items().SetText(ItemIndex(), link_->Field()->AsString());
    SelectRow(rememberedRow_);
}

void TDBDataList::SetItemIndex(int index) {
    SelectRow(index);
    if (link_->Active())
        link_->StepBy(ItemIndex() - rememberedRow_);
}

void TDBDataList::SelectionChangedByUser() {
    if (link_->Active())
        link_->StepBy(ItemIndex() - rememberedRow_);
    TCustomDragListBox::SelectionChangedByUser();
}

} // namespace controls
