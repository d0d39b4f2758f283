// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <functional>

namespace controls {

/// The text rows of a list box: held as one string list, or read on demand from whoever holds
/// them (a record source of a million records keeps its texts once, not again as rows).
class ListRows {
public:
    using Reader = std::function<QString(int row)>;

    int Count() const { return reader_ ? readCount_ : static_cast<int>(rows_.size()); }
    QString Text(int row) const { return reader_ ? reader_(row) : rows_[row]; }
    /// A held row takes the text; a row read on demand is read again.
    void SetText(int row, const QString& text);
    /// Replaces every row at once. The rows replaced are kept until ReleaseReplaced (or the
    /// next replacement): letting a long list go costs a step a row, which need not come
    /// before the new rows show.
    void SetRows(QStringList rows);
    /// Replaces every row with `count` rows read on demand.
    void SetReader(int count, Reader reader);
    /// Lets the rows of the last replacement go; true when there were any.
    bool ReleaseReplaced();
    void Clear() { SetRows({}); }
    /// Moves one held row to another index; the rows between shift by one.
    void Move(int from, int to);

    /// Told after every change.
    std::function<void()> Changed;

private:
    void Notify() {
        if (Changed)
            Changed();
    }
    QStringList rows_;
    QStringList replaced_;
    Reader reader_;
    int readCount_ = 0;
};

} // namespace controls
