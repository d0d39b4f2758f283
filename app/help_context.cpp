// SPDX-License-Identifier: MIT
#include "app/help_context.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* kProperty = "HelpContext";
}

void SetHelpContext(QObject* object, int context) {
    object->setProperty(kProperty, context);
}

int HelpContext(const QObject* object) {
    return object ? object->property(kProperty).toInt() : 0;
}

int EnclosingHelpContext(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const int context = HelpContext(w))
            return context;
    }
    return 0;
}
