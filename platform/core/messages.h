// SPDX-License-Identifier: MIT
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <cstdint>

namespace platform {

/// A window handle: a guarded object pointer that becomes null when the object dies.
using HWND = QPointer<QObject>;

constexpr unsigned WM_USER = 0x0400;

/// A window message (message number, wParam, lParam) delivered as a Qt event.
/// A receiver handles it in event() and may set Result for a sent message.
class MessageEvent : public QEvent {
public:
    MessageEvent(unsigned msg, std::intptr_t wParam, std::intptr_t lParam);
    static QEvent::Type EventType();

    unsigned Msg;
    std::intptr_t WParam;
    std::intptr_t LParam;
    std::intptr_t Result = 0;
};

/// Queues the message for the target; a null or destroyed target makes this a no-op.
/// A message still queued when its target dies is dropped.
void PostMessage(QObject* target, unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

/// Delivers the message at once and gives back the receiver's result (0 without target).
std::intptr_t SendMessage(QObject* target, unsigned msg, std::intptr_t wParam = 0,
                          std::intptr_t lParam = 0);

} // namespace platform
