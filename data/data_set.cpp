// SPDX-License-Identifier: MIT
#include "data/data_set.h"

#include "data/data_link.h"
#include "data/data_source.h"
#include "data/field.h"
#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"

#include <algorithm>

namespace data {

TDataSet::TDataSet(QObject* owner)
    : QObject(owner) {}

TDataSet::~TDataSet() {
    try {
        SetActive(false);
    } catch (...) {
        // A link's complaint while the record source goes away changes nothing now.
    }
    while (!dataSources_.empty())
        dataSources_.back()->SetDataSet(nullptr);
    for (TField* field : dynamicFields_)
        delete field;
    for (TField* field : fields_)
        field->dataSet_ = nullptr;
}

void TDataSet::Error(const QString& message) const {
    throw platform::ComponentError(objectName(), message);
}

// ---- Opening and closing -------------------------------------------------------------

void TDataSet::SetActive(bool value) {
    if (value == Active())
        return;
    if (value) {
        OpenCursor();
        SetState(TDataSetState::dsBrowse);
    } else {
        CheckBrowseMode();
        SetState(TDataSetState::dsInactive);
        CloseCursor();
    }
}

void TDataSet::OpenCursor() {
    cache_ = {};
    indexes_.clear();
    try {
        InternalOpen(cache_);
        filterExpression_ = FilterExpression::Parse(filterText_);
        visible_ = VisibleRecords();
        ++visibleGeneration_;
    } catch (...) {
        CloseCursor();
        throw;
    }
    FillFrom(0, 0);
    bof_ = true;
    eof_ = visible_.Empty();
}

void TDataSet::CloseCursor() {
    InternalClose();
    cache_ = {};
    indexes_.clear();
    visible_ = {};
    first_ = count_ = active_ = 0;
    bof_ = eof_ = false;
    const std::vector<TField*> dynamic = std::move(dynamicFields_);
    dynamicFields_.clear();
    for (TField* field : dynamic)
        delete field;
    lastLookupField_ = nullptr;
}

void TDataSet::SetState(TDataSetState state) {
    if (state_ != state) {
        state_ = state;
        DataEvent(TDataEvent::deUpdateState);
    }
}

// ---- Fields ---------------------------------------------------------------------------

void TDataSet::AddField(TField* field) {
    fields_.push_back(field);
    lastLookupField_ = nullptr;
}

void TDataSet::RemoveField(TField* field) {
    fields_.erase(std::remove(fields_.begin(), fields_.end(), field), fields_.end());
    dynamicFields_.erase(std::remove(dynamicFields_.begin(), dynamicFields_.end(), field),
                         dynamicFields_.end());
    lastLookupField_ = nullptr;
}

void TDataSet::AdoptDynamicField(TField* field) {
    dynamicFields_.push_back(field);
}

TField* TDataSet::FindField(const QString& name) const {
    // The search filter asks for the same name for every record; answer that from memory.
    if (lastLookupField_ && name == lastLookupName_)
        return lastLookupField_;
    for (TField* field : fields_) {
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0) {
            lastLookupName_ = name;
            lastLookupField_ = field;
            return field;
        }
    }
    return nullptr;
}

TField* TDataSet::LookupField(const QString& name) const {
    if (TField* field = FindField(name))
        return field;
    Error(QStringLiteral("Field '%1' not found").arg(name));
}

int TDataSet::CurrentRecord() const {
    if (state_ == TDataSetState::dsInactive || count_ == 0)
        return -1;
    return visible_[first_ + active_];
}

QString TDataSet::CellText(int column) const {
    return CellView(column).toString();
}

QAnyStringView TDataSet::CellView(int column) const {
    const int record = ReadRecord();
    return record < 0 ? QAnyStringView() : cache_.Texts.View(size_t(record), column);
}

QByteArray TDataSet::BlobValue(const TBlobField& field) const {
    if (const QByteArray* pending = PendingBlob(field))
        return *pending;
    const int record = ReadRecord();
    if (record < 0)
        return {};
    return ReadBlob(cache_.RowId(static_cast<size_t>(record)), field.Column());
}

QByteArray TDataSet::NeighbourBlob(const TBlobField& field, int offset) const {
    if (state_ != TDataSetState::dsBrowse || count_ == 0)
        return {};
    const std::int64_t position = std::int64_t(first_) + active_ + offset;
    if (position < 0 || position >= visible_.Size())
        return {};
    const int record = visible_[static_cast<int>(position)];
    return ReadBlob(cache_.RowId(static_cast<size_t>(record)), field.Column());
}

int TDataSet::CurrentPosition() const {
    if (state_ == TDataSetState::dsInactive || count_ == 0)
        return -1;
    return first_ + active_;
}

int TDataSet::PositionOf(int record) const {
    // The visible records are in stored order: found by halving.
    return visible_.PositionOf(record);
}

QString TDataSet::RecordText(int record, const TField& field) const {
    return RecordView(record, field).toString();
}

QAnyStringView TDataSet::RecordView(int record, const TField& field) const {
    if (record < 0 || field.DataType() != TFieldType::ftString)
        return {};
    return cache_.Texts.View(size_t(record), field.Column());
}

QByteArray TDataSet::RecordBlob(int record, const TBlobField& field) const {
    if (record < 0 || record >= RecordCount())
        return {};
    return ReadBlob(cache_.RowId(static_cast<size_t>(record)), field.Column());
}

qint64 TDataSet::BlobSize(const TBlobField& field) const {
    if (const QByteArray* pending = PendingBlob(field))
        return pending->size();
    const int record = ReadRecord();
    if (record < 0)
        return 0;
    return ReadBlobSize(cache_.RowId(static_cast<size_t>(record)), field.Column());
}

// ---- Filtering ------------------------------------------------------------------------

void TDataSet::SetFilter(const QString& text) {
    if (Active()) {
        if (text != filterText_) {
            filterExpression_ = FilterExpression::Parse(text); // a bad text changes nothing
            filterText_ = text;
        }
        if (filtered_)
            ApplyFilter();
    } else {
        filterText_ = text;
    }
}

void TDataSet::SetFiltered(bool value) {
    filtered_ = value;
    if (Active())
        ApplyFilter();
}

void TDataSet::SetFilterOptions(TFilterOptions options) {
    filterOptions_ = options;
    if (Active() && filtered_)
        ApplyFilter();
}

void TDataSet::SetOnFilterRecord(TFilterRecordEvent handler) {
    onFilterRecord_ = std::move(handler);
    if (Active() && filtered_)
        ApplyFilter();
}

void TDataSet::SetOnFilterPass(TFilterPassEvent handler) {
    onFilterPass_ = std::move(handler);
    if (Active() && filtered_)
        ApplyFilter();
}

void TDataSet::ApplyFilter() {
    visible_ = VisibleRecords();
    ++visibleGeneration_;
    GoFirst();
}

VisibleRows TDataSet::VisibleRecords() const {
    const int total = RecordCount();
    auto* self = const_cast<TDataSet*>(this);
    self->askRecords_ = filtered_ && onFilterRecord_;
    if (self->askRecords_ && onFilterPass_)
        platform::RunGuarded([self] { self->askRecords_ = self->onFilterPass_(*self); });
    if (!filtered_ || (filterExpression_.IsEmpty() && !askRecords_))
        return VisibleRows::All(total);
    std::vector<int> visible;
    const TField* expressionField =
        filterExpression_.IsEmpty() ? nullptr : LookupField(filterExpression_.FieldName());
    // While records are examined their fields read the record examined, in the filter state.
    struct ScanGuard {
        TDataSet* set;
        TDataSetState state;
        ~ScanGuard() {
            set->readRecord_ = -1;
            set->state_ = state;
        }
    } guard{self, state_};
    self->state_ = TDataSetState::dsFilter;
    // A text field is compared on its cached value, without a copy per record.
    const int column = expressionField && expressionField->DataType() == TFieldType::ftString
                           ? expressionField->Column()
                           : -1;
    if (column >= 0 && filterExpression_.ComparesExactly(filterOptions_)) {
        // Only the rows that hold the literal are examined.
        auto index = indexes_.find(column);
        if (index == indexes_.end())
            index = indexes_.emplace(column, ColumnIndex(cache_.Texts, column)).first;
        const std::vector<int>& rows = index->second.Rows(filterExpression_.Literal());
        visible.reserve(rows.size());
        for (int i : rows)
            if (Accepts(i, nullptr))
                visible.push_back(i);
        return VisibleRows(std::move(visible));
    }
    visible.reserve(static_cast<size_t>(total));
    for (int i = 0; i < total; ++i) {
        if (column >= 0 &&
            !filterExpression_.Matches(cache_.Texts.View(size_t(i), column), filterOptions_))
            continue;
        if (Accepts(i, column >= 0 ? nullptr : expressionField))
            visible.push_back(i);
    }
    return VisibleRows(std::move(visible));
}

// Within a scan of VisibleRecords (the filter state is set): whether the record passes.
bool TDataSet::Accepts(int record, const TField* expressionField) const {
    if (!expressionField && !askRecords_)
        return true;
    auto* self = const_cast<TDataSet*>(this);
    self->readRecord_ = record;
    if (expressionField && !filterExpression_.Matches(expressionField->AsString(), filterOptions_))
        return false;
    if (!askRecords_)
        return true;
    bool accept = true;
    try {
        onFilterRecord_(*self, accept);
    } catch (const platform::Exception& e) {
        platform::ReportError(e.Message());
    } catch (const std::exception& e) {
        platform::ReportError(QString::fromUtf8(e.what()));
    }
    return accept;
}

// ---- Navigation -----------------------------------------------------------------------

void TDataSet::FillFrom(int firstVisible, int activeIndex) {
    const int total = visible_.Size();
    first_ = std::clamp(firstVisible, 0, total);
    count_ = std::min(bufferCount_, total - first_);
    active_ = count_ > 0 ? std::clamp(activeIndex, 0, count_ - 1) : 0;
}

void TDataSet::GoFirst() {
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    CheckBrowseMode();
    FillFrom(0, 0);
    bof_ = true;
    eof_ = visible_.Empty();
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::GoLast() {
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    CheckBrowseMode();
    const int total = visible_.Size();
    const int count = std::min(bufferCount_, total);
    FillFrom(total - count, count - 1);
    eof_ = true;
    bof_ = visible_.Empty();
    DataEvent(TDataEvent::deDataSetChange);
}

int TDataSet::StepBy(int distance) {
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (distance != 0)
        CheckBrowseMode();
    if ((distance > 0 && eof_) || (distance < 0 && bof_) || distance == 0)
        return 0;
    bof_ = eof_ = false;
    const int total = visible_.Size();
    const int oldCount = count_;
    int shifts = 0;
    int moved = 0;
    while (distance > 0) {
        if (active_ < count_ - 1) {
            ++active_;
        } else if (first_ + count_ < total) {
            if (count_ < bufferCount_) {
                ++count_;
            } else {
                ++first_;
                --shifts;
            }
            active_ = count_ - 1;
        } else {
            eof_ = true;
            break;
        }
        --distance;
        ++moved;
    }
    while (distance < 0) {
        if (active_ > 0) {
            --active_;
        } else if (first_ > 0) {
            --first_;
            if (count_ < bufferCount_)
                ++count_;
            else
                ++shifts;
            active_ = 0;
        } else {
            bof_ = true;
            break;
        }
        ++distance;
        --moved;
    }
    if (count_ == oldCount)
        DataEvent(TDataEvent::deDataSetScroll, {shifts, nullptr});
    else
        DataEvent(TDataEvent::deDataSetChange);
    return moved;
}

TBookmark TDataSet::MarkPosition() const {
    const int record = CurrentRecord();
    if (record < 0)
        return {};
    return {cache_.RowId(static_cast<size_t>(record)), bof_, eof_};
}

void TDataSet::GotoMark(const TBookmark& mark) {
    if (mark.IsEmpty())
        return;
    CheckBrowseMode();
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    // Visible records are in stored (row id) order, so the mark is found by bisection.
    const std::int64_t rowId = *mark.RowId;
    const int position = visible_.FirstNotBefore(
        [this, rowId](int record) { return cache_.RowId(static_cast<size_t>(record)) < rowId; });
    if (position == visible_.Size() ||
        cache_.RowId(static_cast<size_t>(visible_[position])) != rowId)
        Error(QStringLiteral("Record not found"));
    const int total = visible_.Size();
    // Up to half the window before the marked record, the rest after, then more before
    // when the end of the records left the window short.
    const int before = std::min((bufferCount_ - 1) / 2, position);
    int first = position - before;
    int count = std::min(bufferCount_, total - first);
    const int extra = std::min(bufferCount_ - count, first);
    first -= extra;
    count += extra;
    first_ = first;
    count_ = count;
    active_ = position - first;
    // Going back to a marked record gives the cursor back its flags as they were, so a walk
    // over the records (as a list's fill does) leaves the first record still at-start.
    bof_ = mark.AtStart;
    eof_ = mark.AtEnd;
    DataEvent(TDataEvent::deDataSetChange);
}

// ---- Link notification ----------------------------------------------------------------

void TDataSet::SuspendLinks() {
    if (suspendCount_ == 0) {
        suspendState_ = state_;
        enableEvent_ = TDataEvent::deDataSetChange;
    }
    ++suspendCount_;
}

void TDataSet::ResumeLinks() {
    if (suspendCount_ == 0)
        return;
    if (--suspendCount_ > 0)
        return;
    if (suspendState_ != state_)
        DataEvent(TDataEvent::deUpdateState);
    if (suspendState_ != TDataSetState::dsInactive && state_ != TDataSetState::dsInactive)
        DataEvent(enableEvent_);
}

void TDataSet::DataEvent(TDataEvent event, EventInfo info) {
    if (suspendCount_ > 0) {
        if ((event == TDataEvent::deUpdateState && state_ == TDataSetState::dsInactive) ||
            event == TDataEvent::deLayoutChange)
            enableEvent_ = TDataEvent::deLayoutChange;
        return;
    }
    const std::vector<TDataSource*> sources = dataSources_;
    for (TDataSource* source : sources) {
        if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end())
            source->DataEvent(event, info);
    }
}

void TDataSet::AddDataSource(TDataSource* source) {
    dataSources_.push_back(source);
    UpdateWindowSize();
}

void TDataSet::RemoveDataSource(TDataSource* source) {
    dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source),
                       dataSources_.end());
    UpdateWindowSize();
}

// ---- The record window ----------------------------------------------------------------

void TDataSet::UpdateWindowSize() {
    int size = 1;
    for (const TDataSource* source : dataSources_) {
        for (const TDataLink* link : source->DataLinks())
            size = std::max(size, link->WindowSize());
    }
    if (Active())
        SetBufferCount(size);
    else
        bufferCount_ = size;
}

void TDataSet::AdjustFirstRecords(int delta) {
    if (delta == 0)
        return;
    for (const TDataSource* source : dataSources_) {
        for (TDataLink* link : source->DataLinks()) {
            if (link->Active())
                link->firstRecord_ += delta;
        }
    }
}

void TDataSet::SetBufferCount(int value) {
    if (value == bufferCount_)
        return;
    const int total = visible_.Size();
    if (value < bufferCount_) {
        // Drop records before the current one first, so it stays in the window.
        const int drop = std::clamp(active_ - (value - 1), 0, count_);
        first_ += drop;
        active_ -= drop;
        count_ = std::min(count_ - drop, value);
        AdjustFirstRecords(-drop);
        bufferCount_ = value;
        return;
    }
    bufferCount_ = value;
    count_ += std::min(value - count_, total - (first_ + count_));
    const int before = std::min(value - count_, first_);
    first_ -= before;
    active_ += before;
    count_ += before;
    AdjustFirstRecords(before);
}

void TDataSet::SetActiveRecord(int index) {
    if (count_ > 0)
        active_ = std::clamp(index, 0, count_ - 1);
}

// ---- Editing --------------------------------------------------------------------------

void TDataSet::CheckCanModify() const {
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (!CanModify())
        Error(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::Edit() {
    if (IsEditState(state_))
        return;
    CheckCanModify();
    if (CurrentRecord() < 0)
        Error(QStringLiteral("Cannot edit: the dataset has no current record"));
    pendingBlobs_.clear();
    SetState(TDataSetState::dsEdit);
}

void TDataSet::CheckBrowseMode() {
    if (IsEditState(state_))
        Post();
}

const QByteArray* TDataSet::PendingBlob(const TBlobField& field) const {
    if (!IsEditState(state_) || readRecord_ >= 0)
        return nullptr;
    for (const auto& [column, bytes] : pendingBlobs_)
        if (column == field.Column())
            return &bytes;
    return nullptr;
}

void TDataSet::SetBlobValue(const TBlobField& field, const QByteArray& bytes) {
    if (!IsEditState(state_))
        Error(QStringLiteral("Dataset not in edit or insert mode"));
    bool replaced = false;
    for (auto& [column, value] : pendingBlobs_)
        if (column == field.Column()) {
            value = bytes;
            replaced = true;
        }
    if (!replaced)
        pendingBlobs_.emplace_back(field.Column(), bytes);
    DataEvent(TDataEvent::deFieldChange, {0, const_cast<TBlobField*>(&field)});
}

void TDataSet::InternalPost(std::int64_t, const std::vector<std::pair<int, QByteArray>>&) {
    Error(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::Insert() {
    CheckCanModify();
}

void TDataSet::Delete() {
    CheckCanModify();
}

void TDataSet::Post() {
    if (!IsEditState(state_))
        Error(QStringLiteral("Dataset not in edit or insert mode"));
    // Controls hand over what they hold, then everything changed is written at once; a
    // failure leaves the record in editing with its values, so nothing is lost.
    DataEvent(TDataEvent::deUpdateRecord);
    if (!pendingBlobs_.empty())
        InternalPost(cache_.RowId(static_cast<size_t>(CurrentRecord())), pendingBlobs_);
    pendingBlobs_.clear();
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deRecordChange);
}

void TDataSet::Cancel() {
    if (!IsEditState(state_))
        return;
    pendingBlobs_.clear();
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange); // the stored values are shown again
}

void TDataSet::Refresh() {
    if (!Active())
        Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    const TBookmark mark = MarkPosition();
    SuspendLinks();
    try {
        Close();
        Open();
        try {
            GotoMark(mark);
        } catch (const platform::Exception&) {
            GoFirst(); // the record went away: start from the first
        }
    } catch (...) {
        ResumeLinks();
        throw;
    }
    ResumeLinks();
}

} // namespace data
