// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_event.h"

#include <QObject>
#include <vector>

namespace data {

class TDataSet;
class TDataLink;

/// Connects one record source to any number of data links.
class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* owner = nullptr);
    /// Every attached link is detached first and so becomes inactive.
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    /// The record source's state as the links see it (inactive while disabled).
    TDataSetState State() const { return state_; }

    const std::vector<TDataLink*>& DataLinks() const { return links_; }

    /// Passes an event of the record source on to every attached link.
    void DataEvent(TDataEvent event, EventInfo info);

private:
    friend class TDataLink;
    void AddDataLink(TDataLink* link);
    void RemoveDataLink(TDataLink* link);
    void UpdateState();

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    TDataSetState state_ = TDataSetState::dsInactive;
    std::vector<TDataLink*> links_;
};

} // namespace data
