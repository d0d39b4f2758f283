// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_set.h"

#include <future>
#include <memory>

namespace data {

class TableFile;

/// A record source on one table file of the store, addressed by directory and file name.
/// Tables are always opened for reading only.
class TTable : public TDataSet {
    Q_OBJECT
public:
    explicit TTable(QObject* owner = nullptr);
    ~TTable() override;

    const QString& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const QString& name);
    const QString& TableName() const { return tableName_; }
    /// A name that carries a full path is opened from that path.
    void SetTableName(const QString& name);
    bool ReadOnly() const { return readOnly_; }
    /// A table can be written when it is not read-only and its file may be written.
    bool CanModify() const override;
    void SetReadOnly(bool value);

    /// The file the table opens: TableName when it is a full path, else DatabaseName joined
    /// with TableName (relative to the current directory), ".db" added when it has no
    /// extension, and matched ignoring case when only that finds it.
    QString TablePath() const;
    /// The password that opened the table's file; empty while it is closed.
    QByteArray Key() const;

    /// Where a read-ahead reads: on a worker thread, or here before ReadAhead returns.
    enum class Reader { Worker, ThisThread };
    /// Opens and reads the file of the table `tableName` in `databaseName`, with the
    /// session's passwords as they are now, ahead of the Open which follows: so that the
    /// reading of two tables can overlap while they still open in their order. That Open
    /// takes what was read when it opens the same file with the same fields, and otherwise
    /// (or when the file did not open cleanly then) opens the file itself as it always does;
    /// until then nobody is told anything. What was read is held until that Open or the next
    /// read-ahead.
    void ReadAhead(const QString& databaseName, const QString& tableName,
                   Reader reader = Reader::Worker);
    /// Lets go of what a read-ahead read (waiting for one that is still reading).
    void DiscardReadAhead();

protected:
    void InternalOpen(RecordCache& cache) override;
    void InternalClose() override;
    QByteArray ReadBlob(std::int64_t rowId, int column) const override;
    void InternalPost(std::int64_t rowId,
                      const std::vector<std::pair<int, QByteArray>>& blobs) override;
    qint64 ReadBlobSize(std::int64_t rowId, int column) const override;

private:
    void CheckInactive() const;
    void OpenFile(const QString& path);
    void BindFields(std::vector<int>& textColumns);

    struct ReadAheadResult;
    /// What the read-ahead of `path` read, when it did; ends any read-ahead.
    std::unique_ptr<ReadAheadResult> TakeReadAhead(const QString& path);

    QString databaseName_;
    QString tableName_;
    bool readOnly_ = false;
    std::unique_ptr<TableFile> file_;
    std::future<std::unique_ptr<ReadAheadResult>> readAhead_;
};

} // namespace data
