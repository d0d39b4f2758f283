// SPDX-License-Identifier: MIT
#include "controls/dbcontrols/db_text.h"

#include "data/field.h"

namespace controls {

TDBText::TDBText(QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText); // no accelerator characters, no markup
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link_.OnDataChange = [this] { DataChange(); };
    link_.OnActiveChange = [this] { DataChange(); };
}

TDBText::~TDBText() {
    link_.OnDataChange = nullptr;
    link_.OnActiveChange = nullptr;
    link_.SetDataSource(nullptr);
}

void TDBText::SetAutoSize(bool value) {
    autoSize_ = value;
    if (autoSize_)
        adjustSize();
}

void TDBText::DataChange() {
    const data::TField* field = link_.Field();
    setText(link_.Active() && field ? field->AsString() : QString());
    if (autoSize_)
        adjustSize();
}

} // namespace controls
