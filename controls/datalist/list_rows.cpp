// SPDX-License-Identifier: MIT
#include "controls/datalist/list_rows.h"

namespace controls {

void TListRows::SetText(int row, const QString& text) {
    if (row < 0 || row >= Count())
        return;
    rows_[row] = text;
    Notify();
}

void TListRows::SetRows(QStringList rows) {
    rows_ = std::move(rows);
    Notify();
}

void TListRows::Move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count())
        return;
    rows_.move(from, to);
    Notify();
}

} // namespace controls
