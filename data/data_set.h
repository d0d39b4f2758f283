// SPDX-License-Identifier: MIT
#pragma once

#include "data/column_index.h"
#include "data/data_event.h"
#include "data/filter_expression.h"
#include "data/record_texts.h"
#include "data/row_ids.h"
#include "data/visible_rows.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace data {

class TDataSource;
class TField;
class TBlobField;

/// A remembered record; empty when nothing was current.
struct TBookmark {
    std::optional<std::int64_t> RowId;
    bool AtStart = false; // the cursor's flags when the mark was made
    bool AtEnd = false;
    bool IsEmpty() const { return !RowId.has_value(); }
};

/// A record source: a cursor over the records of a store, a window of consecutive visible
/// records, filters, and the events that tell every data link of each change.
/// The records' text values are cached when it opens; blobs are read on demand.
class TDataSet : public QObject {
    Q_OBJECT
public:
    explicit TDataSet(QObject* owner = nullptr);
    ~TDataSet() override;

    using TFilterRecordEvent = std::function<void(TDataSet& dataSet, bool& accept)>;
    /// Asked once before a pass of the filters examines the records: whether the pass needs
    /// the record handler at all. False lets every record through that handler unasked, for
    /// a handler that would accept them all; what it reads once a pass it reads here.
    using TFilterPassEvent = std::function<bool(TDataSet& dataSet)>;

    // Opening and state.
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    void SetActive(bool value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return state_; }
    bool AtStart() const { return bof_; }
    bool AtEnd() const { return eof_; }

    // Fields.
    const std::vector<TField*>& Fields() const { return fields_; }
    /// The field of that name ignoring case, or null.
    TField* FindField(const QString& name) const;
    /// Like FindField; no match raises "Field '%s' not found" for this record source.
    TField* LookupField(const QString& name) const;

    // Filtering.
    const QString& Filter() const { return filterText_; }
    void SetFilter(const QString& text);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool value);
    TFilterOptions FilterOptions() const { return filterOptions_; }
    void SetFilterOptions(TFilterOptions options);
    void SetOnFilterRecord(TFilterRecordEvent handler);
    void SetOnFilterPass(TFilterPassEvent handler);

    // Navigation over the visible records.
    void GoFirst();
    void GoLast();
    void GoNext() { StepBy(1); }
    void GoPrior() { StepBy(-1); }
    int StepBy(int distance);
    int CountRecords() const { return visible_.Size(); }
    /// Changes whenever the set of visible records may have changed (open, re-filter).
    std::uint64_t VisibleGeneration() const { return visibleGeneration_; }
    TBookmark MarkPosition() const;
    void GotoMark(const TBookmark& mark);
    void FreeMark(TBookmark& mark) { mark.RowId.reset(); }
    void SuspendLinks();
    void ResumeLinks();
    bool LinksSuspended() const { return suspendCount_ > 0; }
    int SuspendCount() const { return suspendCount_; }

    // Editing; a read-only store refuses every change. An edit collects the changed blobs of
    // the current record; Post asks the links for their values and writes them all at once,
    // Cancel drops them; moving to another record posts first.
    virtual bool CanModify() const { return false; }
    void Edit();
    void Insert();
    void Delete();
    void Post();
    void Cancel();
    /// A blob field's new value for the record being edited.
    void SetBlobValue(const TBlobField& field, const QByteArray& bytes);
    /// Reads the records again, staying on the current record when it is still visible.
    void Refresh();

    // The record window, as the links see it.
    int WindowSize() const { return bufferCount_; }
    int WindowRecordCount() const { return count_; }
    int ActiveRecord() const { return active_; }
    /// Makes another record of the window current for reading, without events.
    void SetActiveRecord(int index);

    // Values of the record being read (the current one, or the one a filter examines).
    QString CellText(int column) const;
    QAnyStringView CellView(int column) const;
    QByteArray BlobValue(const TBlobField& field) const;
    /// The field's stored blob of the visible record `offset` records from the current one,
    /// read without moving there; empty past either end or while editing.
    QByteArray NeighbourBlob(const TBlobField& field, int offset) const;
    qint64 BlobSize(const TBlobField& field) const;

    // The records without moving the cursor: every stored record by its number (0 up, in
    // stored order), and the visible ones (those that pass the filters) by their position.
    int RecordCount() const { return static_cast<int>(cache_.Ids.Count()); }
    /// The stored record at a visible position (0 .. CountRecords() - 1).
    int VisibleRecord(int position) const { return visible_.At(position); }
    /// The visible position of the current record; -1 when there is none.
    int CurrentPosition() const;
    /// The visible position of a stored record; -1 when the filters hide it.
    int PositionOf(int record) const;
    std::int64_t RecordRowId(int record) const { return cache_.RowId(static_cast<size_t>(record)); }
    /// A text value of a stored record; empty for a field that is no text column.
    QString RecordText(int record, const TField& field) const;
    /// The same, as a view of the characters the record source holds: valid while it stays
    /// open, for reading many records without a string apiece.
    QAnyStringView RecordView(int record, const TField& field) const;
    /// The text columns of every stored record as the record source holds them (a field's
    /// Column() is its column there).
    const RecordTexts& Texts() const { return cache_.Texts; }
    /// The stored blob of a record (what was posted, not an edit in progress).
    QByteArray RecordBlob(int record, const TBlobField& field) const;

    /// Sends an event to every data source and so to every link (held back while suspended).
    void DataEvent(TDataEvent event, EventInfo info = {});

    /// The largest window any attached link asks for; resizes the window at once when open.
    void UpdateWindowSize();

protected:
    /// What a store hands over when the record source opens: one row id and the text
    /// columns' values per record, in stored order.
    struct RecordCache {
        RowIds Ids;
        RecordTexts Texts;
        std::int64_t RowId(std::size_t record) const { return Ids.At(record); }
    };

    /// Opens the store, fills the cache and binds or makes the fields.
    virtual void InternalOpen(RecordCache& cache) = 0;
    virtual void InternalClose() {}
    virtual QByteArray ReadBlob(std::int64_t rowId, int column) const = 0;
    virtual qint64 ReadBlobSize(std::int64_t rowId, int column) const = 0;
    /// Writes the edited blobs (store column, bytes) of a record in one go; the base refuses.
    virtual void InternalPost(std::int64_t rowId,
                              const std::vector<std::pair<int, QByteArray>>& blobs);

    /// Raises an error carrying this record source's name.
    [[noreturn]] void Error(const QString& message) const;

    /// Fields made for this opening only; they go when it closes.
    void AdoptDynamicField(TField* field);
    /// Whether the field was made by the open (and goes with the close).
    bool IsDynamicField(const TField* field) const {
        return std::find(dynamicFields_.begin(), dynamicFields_.end(), field) !=
               dynamicFields_.end();
    }

private:
    friend class TField;
    friend class TDataSource;
    void AddField(TField* field);
    void RemoveField(TField* field);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);

    void OpenCursor();
    void CloseCursor();
    void SetState(TDataSetState state);
    void ApplyFilter();
    VisibleRows VisibleRecords() const;
    bool Accepts(int record, const TField* expressionField) const;
    void SetBufferCount(int value);
    void AdjustFirstRecords(int delta);
    void FillFrom(int firstVisible, int activeIndex);
    int CurrentRecord() const;
    int ReadRecord() const { return readRecord_ >= 0 ? readRecord_ : CurrentRecord(); }
    void CheckCanModify() const;
    void CheckBrowseMode();
    const QByteArray* PendingBlob(const TBlobField& field) const;

    TDataSetState state_ = TDataSetState::dsInactive;
    std::vector<TField*> fields_;
    std::vector<TField*> dynamicFields_;
    std::vector<TDataSource*> dataSources_;

    RecordCache cache_;
    // Exact-value indexes of the cache's text columns, made when a filter first needs one.
    mutable std::map<int, ColumnIndex> indexes_;
    VisibleRows visible_; // cache rows that pass the filters, in stored order
    std::uint64_t visibleGeneration_ = 0;
    bool askRecords_ = false; // whether the pass running asks the record handler
    int readRecord_ = -1;     // the row a filter examines, or -1

    // The record window: visible_[first_ .. first_ + count_), current at first_ + active_.
    int bufferCount_ = 1;
    int first_ = 0;
    int count_ = 0;
    int active_ = 0;
    bool bof_ = false;
    bool eof_ = false;

    int suspendCount_ = 0;
    TDataSetState suspendState_ = TDataSetState::dsInactive;
    TDataEvent enableEvent_ = TDataEvent::deDataSetChange;

    QString filterText_;
    FilterExpression filterExpression_;
    bool filtered_ = false;
    TFilterOptions filterOptions_;
    TFilterRecordEvent onFilterRecord_;
    TFilterPassEvent onFilterPass_;

    std::vector<std::pair<int, QByteArray>> pendingBlobs_; // of the record being edited

    mutable QString lastLookupName_;
    mutable TField* lastLookupField_ = nullptr;
};

} // namespace data
