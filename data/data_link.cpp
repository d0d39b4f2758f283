// SPDX-License-Identifier: MIT
#include "data/data_link.h"

#include "data/data_set.h"
#include "data/data_source.h"

#include <algorithm>

namespace data {

TDataLink::~TDataLink() {
    // Detach without calling back into the (already destroyed) derived part.
    if (dataSource_) {
        TDataSource* source = dataSource_;
        dataSource_ = nullptr;
        auto& links = source->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
        if (source->DataSet())
            source->DataSet()->UpdateWindowSize();
    }
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == dataSource_)
        return;
    if (dataSource_)
        dataSource_->RemoveDataLink(this);
    if (source)
        source->AddDataLink(this);
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool value) {
    if (readOnly_ != value) {
        readOnly_ = value;
        UpdateState();
    }
}

void TDataLink::UpdateState() {
    SetActive(dataSource_ && dataSource_->State() != TDataSetState::dsInactive);
    SetEditing(dataSource_ && IsEditState(dataSource_->State()) && !readOnly_);
}

void TDataLink::SetActive(bool value) {
    if (active_ == value)
        return;
    active_ = value;
    if (value)
        UpdateRange();
    else
        firstRecord_ = 0;
    NotifyActiveChange();
}

void TDataLink::SetEditing(bool value) {
    if (editing_ == value)
        return;
    editing_ = value;
    NotifyEditingChange();
}

// Keeps the current record inside this link's window and the window inside the source's.
void TDataLink::UpdateRange() {
    const TDataSet* set = DataSet();
    if (!set)
        return;
    const int active = set->ActiveRecord();
    const int low = std::max(0, active - windowSize_ + 1);
    const int high = std::min(active, std::max(0, set->WindowSize() - windowSize_));
    firstRecord_ = std::clamp(firstRecord_, low, std::max(low, high));
}

void TDataLink::DispatchEvent(TDataEvent event, EventInfo info) {
    if (event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (!active_)
        return;
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (!updating_)
            NotifyRecordChange(info.Field);
        break;
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange: {
        int moved = 0;
        if (dataSource_->State() != TDataSetState::dsSetKey) {
            const int active = DataSet()->ActiveRecord();
            const int first = firstRecord_ + info.Distance;
            const int last = first + windowSize_ - 1;
            if (active > last)
                moved = active - last;
            else if (active < first)
                moved = active - first;
            firstRecord_ = first + moved;
        }
        if (event == TDataEvent::deDataSetChange)
            NotifyDataSetChange();
        else if (event == TDataEvent::deDataSetScroll)
            NotifyScroll(moved);
        else
            NotifyLayoutChange();
        break;
    }
    case TDataEvent::deUpdateRecord:
        UpdateRecord();
        break;
    case TDataEvent::deCheckBrowseMode:
        NotifyBrowseCheck();
        break;
    case TDataEvent::deFocusControl:
        NotifyFocusField(info.Field);
        break;
    case TDataEvent::deUpdateState:
        break;
    }
}

void TDataLink::NotifyDataSetChange() {
    NotifyRecordChange(nullptr);
}

int TDataLink::ActiveRow() const {
    if (!active_ || dataSource_->State() == TDataSetState::dsSetKey)
        return 0;
    return DataSet()->ActiveRecord() - firstRecord_;
}

bool TDataLink::AtStart() const {
    return active_ && DataSet()->AtStart();
}

bool TDataLink::AtEnd() const {
    return active_ && DataSet()->AtEnd();
}

int TDataLink::RowCount() const {
    if (!active_)
        return 0;
    if (dataSource_->State() == TDataSetState::dsSetKey)
        return 1;
    return std::clamp(DataSet()->WindowRecordCount() - firstRecord_, 0, windowSize_);
}

int TDataLink::StepBy(int distance) {
    return active_ ? DataSet()->StepBy(distance) : 0;
}

void TDataLink::SetActiveRow(int row) {
    if (active_ && dataSource_->State() != TDataSetState::dsSetKey)
        DataSet()->SetActiveRecord(row + firstRecord_);
}

void TDataLink::SetWindowSize(int size) {
    size = std::max(1, size);
    if (windowSize_ == size)
        return;
    windowSize_ = size;
    if (active_) {
        DataSet()->UpdateWindowSize();
        UpdateRange();
    }
}

void TDataLink::UpdateRecord() {
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

} // namespace data
