// SPDX-License-Identifier: MIT
#include "controls/overview/find_builder.h"

#include "data/data_set.h"
#include "data/field.h"

namespace controls {

FindBuilder::FindBuilder(QObject* parent)
    : QObject(parent) {}

FindBuilder::~FindBuilder() {
    if (thread_.joinable())
        thread_.join();
}

void FindBuilder::Build(const data::TDataSet& records, const data::TField& fileName,
                        const data::TField& description, const QString& identity) {
    if (identity == identity_)
        return;
    if (thread_.joinable())
        thread_.join();
    identity_ = identity;
    index_.reset();
    // The thread reads a copy of the record source's texts (one block, copied at once): the
    // record source may close or open again while it works.
    const int count = records.RecordCount();
    const int nameColumn = fileName.Column();
    const int descriptionColumn = description.Column();
    const std::uint64_t generation = ++generation_;
    thread_ = std::thread([this, texts = records.Texts(), count, nameColumn, descriptionColumn,
                           generation]() mutable {
        // In two halves at once, one a core of the machine this runs on.
        auto index = std::make_shared<data::FindIndex>(data::FindIndex::BuildInParts(
            std::uint32_t(count),
            [&](data::FindIndex& into, std::uint32_t record) {
                into.Add(record, texts.Text(record, nameColumn));
                into.Add(record, texts.Text(record, descriptionColumn));
            },
            2));
        texts = data::RecordTexts();
        {
            std::lock_guard hold(lock_);
            built_ = std::move(index);
        }
        QMetaObject::invokeMethod(
            this, [this, generation] { generation == generation_ ? Take() : void(); },
            Qt::QueuedConnection);
    });
}

void FindBuilder::Take() {
    std::shared_ptr<const data::FindIndex> built;
    {
        std::lock_guard hold(lock_);
        built.swap(built_);
    }
    if (!built)
        return;
    if (thread_.joinable())
        thread_.join();
    index_ = std::move(built);
    emit Ready();
}

void FindBuilder::Wait() {
    if (thread_.joinable())
        thread_.join();
    Take();
}

} // namespace controls
