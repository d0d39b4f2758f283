// SPDX-License-Identifier: MIT
#pragma once

#include "controls/datalist/drag_list_box.h"
#include "data/field_data_link.h"

#include <memory>

namespace data {
class TDataSource;
}

namespace controls {

class TDBDataList;

/// The list's link: fills the rows and follows the cursor.
class TListDataLink : public data::TFieldDataLink {
public:
    explicit TListDataLink(TDBDataList* list);

    void NotifyActiveChange() override;
    void NotifyDataSetChange() override;
    void NotifyScroll(int distance) override;
    void NotifyRecordChange(data::TField* field) override;

private:
    friend class TDBDataList;
    TDBDataList* list_;
    bool filling_ = false;
};

/// A list box showing one field of every visible record, one row per record in record order.
/// Its link asks for a record window as large as the list, so a row's index is its record's
/// index in the window.
class TDBDataList : public TCustomDragListBox {
    Q_OBJECT
public:
    explicit TDBDataList(QWidget* parent = nullptr);
    ~TDBDataList() override;

    data::TDataSource* DataSource() const { return link_->DataSource(); }
    void SetDataSource(data::TDataSource* source);
    const QString& DataField() const { return link_->FieldName(); }
    void SetDataField(const QString& name);
    TListDataLink& Link() { return *link_; }

    /// Selects the row and moves the cursor to its record.
    void SetItemIndex(int index) override;
    int RememberedRow() const { return rememberedRow_; }

    /// Lists the field's text of every visible record, moving the cursor with the links
    /// suspended as a walk over them would; a text field's rows are read when shown.
    void FillRows();

protected:
    void SelectionChangedByUser() override;

private:
    friend class TListDataLink;
    void FollowCursor();
    void RecordChanged();

    std::unique_ptr<TListDataLink> link_;
    int rememberedRow_ = 0;
    const data::TField* filledField_ = nullptr; // what the rows were last filled from
    std::uint64_t filledGeneration_ = 0;
};

} // namespace controls
