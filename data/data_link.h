// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_event.h"

namespace data {

class TDataSet;
class TDataSource;

/// A control's connection to a data source, through which the record source tells it of
/// every change. The notifications do nothing here; controls override what they need.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    /// The record source behind the data source, or null.
    TDataSet* DataSet() const;

    bool Active() const { return active_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool Editing() const { return editing_; }
    bool Updating() const { return updating_; }
    /// Index of this link's first record in the record source's window.
    int FirstRecord() const { return firstRecord_; }

    // The overridable operations, in slot order.
    virtual void NotifyActiveChange() {}
    virtual void NotifyBrowseCheck() {}
    virtual void DispatchEvent(TDataEvent event, EventInfo info);
    virtual void NotifyDataSetChange();
    /// A move of the cursor changes the current record: by default handled as a data set change.
    virtual void NotifyScroll(int distance) {
        (void)distance;
        NotifyDataSetChange();
    }
    virtual void NotifyEditingChange() {}
    virtual void NotifyFocusField(TField* field) { (void)field; }
    virtual int ActiveRow() const;
    virtual bool AtStart() const;
    virtual int WindowSize() const { return windowSize_; }
    virtual bool AtEnd() const;
    virtual int RowCount() const;
    virtual void NotifyLayoutChange() {}
    virtual int StepBy(int distance);
    virtual void NotifyRecordChange(TField* field) { (void)field; }
    virtual void SetActiveRow(int row);
    virtual void SetWindowSize(int size);

    /// Asks the control to write back pending input (the update-record event).
    void UpdateRecord();

protected:
    /// The write-back step of UpdateRecord.
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    friend class TDataSet;
    void UpdateState();
    void SetActive(bool value);
    void SetEditing(bool value);
    void UpdateRange();

    TDataSource* dataSource_ = nullptr;
    bool active_ = false;
    bool readOnly_ = false;
    bool editing_ = false;
    bool updating_ = false;
    int windowSize_ = 1;
    int firstRecord_ = 0;
};

} // namespace data
