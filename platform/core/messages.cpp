// SPDX-License-Identifier: MIT
#include "platform/core/messages.h"

#include <QCoreApplication>

namespace platform {

MessageEvent::MessageEvent(unsigned msg, std::intptr_t wParam, std::intptr_t lParam)
    : QEvent(EventType())
    , Msg(msg)
    , WParam(wParam)
    , LParam(lParam) {}

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostMessage(QObject* target, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
    if (!target)
        return;
    QCoreApplication::postEvent(target, new MessageEvent(msg, wParam, lParam));
}

std::intptr_t SendMessage(QObject* target, unsigned msg, std::intptr_t wParam,
                          std::intptr_t lParam) {
    if (!target)
        return 0;
    MessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.Result;
}

} // namespace platform
