// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <functional>

namespace controls {

/// The text rows of a list box, held as one string list so a whole fill is one assignment.
class ListRows {
public:
    int Count() const { return static_cast<int>(rows_.size()); }
    const QString& Text(int row) const { return rows_[row]; }
    void SetText(int row, const QString& text);
    /// Replaces every row at once. The rows replaced are kept until ReleaseReplaced (or the
    /// next replacement): letting a long list go costs a step a row, which need not come
    /// before the new rows show.
    void SetRows(QStringList rows);
    /// Lets the rows of the last replacement go; true when there were any.
    bool ReleaseReplaced();
    void Clear() { SetRows({}); }
    /// Moves one row to another index; the rows between shift by one.
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
};

} // namespace controls
