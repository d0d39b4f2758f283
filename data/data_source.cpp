// SPDX-License-Identifier: MIT
#include "data/data_source.h"

#include "data/data_link.h"
#include "data/data_set.h"

#include <algorithm>

namespace data {

TDataSource::TDataSource(QObject* owner)
    : QObject(owner) {}

TDataSource::~TDataSource() {
    while (!links_.empty())
        RemoveDataLink(links_.back());
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        dataSet_->RemoveDataSource(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->AddDataSource(this);
    UpdateState();
}

void TDataSource::SetEnabled(bool value) {
    if (enabled_ != value) {
        enabled_ = value;
        UpdateState();
    }
}

void TDataSource::UpdateState() {
    const TDataSetState state =
        enabled_ && dataSet_ ? dataSet_->State() : TDataSetState::dsInactive;
    if (state == state_)
        return;
    state_ = state;
    const std::vector<TDataLink*> links = links_;
    for (TDataLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->DispatchEvent(TDataEvent::deUpdateState, {});
    }
}

void TDataSource::DataEvent(TDataEvent event, EventInfo info) {
    if (event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == TDataSetState::dsInactive)
        return;
    // A link may detach itself while it is told; walk a copy.
    const std::vector<TDataLink*> links = links_;
    for (TDataLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->DispatchEvent(event, info);
    }
}

void TDataSource::AddDataLink(TDataLink* link) {
    links_.push_back(link);
    link->dataSource_ = this;
    if (dataSet_)
        dataSet_->UpdateWindowSize();
    link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* link) {
    link->dataSource_ = nullptr;
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
    link->UpdateState();
    if (dataSet_)
        dataSet_->UpdateWindowSize();
}

} // namespace data
