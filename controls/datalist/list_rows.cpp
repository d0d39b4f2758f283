// SPDX-License-Identifier: MIT
#include "controls/datalist/list_rows.h"

namespace controls {

void ListRows::SetText(int row, const QString& text) {
    if (row < 0 || row >= Count())
        return;
    if (!reader_)
        rows_[row] = text;
    Notify();
}

void ListRows::SetRows(QStringList rows) {
    if (!rows_.isEmpty())
        replaced_ = std::move(rows_); // the rows replaced before go now
    rows_ = std::move(rows);
    reader_ = nullptr;
    readCount_ = 0;
    Notify();
}

void ListRows::SetReader(int count, Reader reader) {
    if (!rows_.isEmpty())
        replaced_ = std::move(rows_);
    rows_ = QStringList();
    readCount_ = reader ? std::max(count, 0) : 0;
    reader_ = std::move(reader);
    Notify();
}

bool ListRows::ReleaseReplaced() {
    if (replaced_.isEmpty())
        return false;
    replaced_ = QStringList();
    return true;
}

void ListRows::Move(int from, int to) {
    if (reader_ || from == to || from < 0 || to < 0 || from >= Count() || to >= Count())
        return;
    rows_.move(from, to);
    Notify();
}

} // namespace controls
