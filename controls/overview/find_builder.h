// SPDX-License-Identifier: MIT
#pragma once

#include "data/find_index.h"

#include <QObject>
#include <QString>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace data {
class TDataSet;
class TField;
} // namespace data

namespace controls {

/// Builds the find index of a catalogue's texts (file name and description of every record)
/// on a thread of its own, once per catalogue file, and hands it to the GUI thread ready made.
class FindBuilder : public QObject {
    Q_OBJECT
public:
    explicit FindBuilder(QObject* parent = nullptr);
    /// Waits for a build under way.
    ~FindBuilder() override;

    /// Starts building the index of the open record source's records, unless the catalogue
    /// `identity` names is the one built (or being built) already.
    void Build(const data::TDataSet& records, const data::TField& fileName,
               const data::TField& description, const QString& identity);
    /// The index ready to answer; null while there is none.
    std::shared_ptr<const data::FindIndex> Index() const { return index_; }
    bool Building() const { return thread_.joinable() && !index_; }
    /// Waits until a build under way is done and taken in (tests and benchmarks).
    void Wait();

signals:
    void Ready();

private:
    void Take();

    QString identity_;
    std::shared_ptr<const data::FindIndex> index_;
    std::thread thread_;
    std::mutex lock_;
    std::shared_ptr<const data::FindIndex> built_; // under lock_
    std::uint64_t generation_ = 0;                 // of the build asked for last
};

} // namespace controls
