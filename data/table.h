// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_set.h"

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

    QString databaseName_;
    QString tableName_;
    bool readOnly_ = false;
    std::unique_ptr<TableFile> file_;
};

} // namespace data
