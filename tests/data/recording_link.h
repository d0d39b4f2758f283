// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_link.h"
#include "data/field.h"

#include <QStringList>

/// A data link that writes down every notification it receives.
class RecordingLink : public data::TDataLink {
public:
    QStringList events;

    QStringList Take() {
        QStringList taken = events;
        events.clear();
        return taken;
    }

    void NotifyActiveChange() override { events << (Active() ? "active" : "inactive"); }
    void NotifyDataSetChange() override { events << "change"; }
    void NotifyScroll(int distance) override {
        events << QStringLiteral("scroll %1").arg(distance);
    }
    void NotifyLayoutChange() override { events << "layout"; }
    void NotifyEditingChange() override { events << "editing"; }
    void NotifyRecordChange(data::TField* field) override {
        events << (field ? "record " + field->FieldName() : QStringLiteral("record"));
    }
};
