// SPDX-License-Identifier: MIT
#pragma once

namespace data {

class TField;

/// What a record source can be doing.
enum class TDataSetState {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter
};

/// The events a record source sends to every link of every data source serving it.
enum class TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    deFocusControl,
};

/// The information an event carries: how far the record window moved, or the field concerned.
struct EventInfo {
    int Distance = 0;
    TField* Field = nullptr;
};

inline bool IsEditState(TDataSetState s) {
    return s == TDataSetState::dsEdit || s == TDataSetState::dsInsert ||
           s == TDataSetState::dsSetKey;
}

} // namespace data
