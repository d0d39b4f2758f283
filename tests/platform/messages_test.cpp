// SPDX-License-Identifier: MIT
#include "platform/core/messages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace platform;

namespace {

class Receiver : public QObject {
public:
    struct Got {
        unsigned msg;
        std::intptr_t w, l;
    };
    std::vector<Got> got;

    bool event(QEvent* e) override {
        if (e->type() != MessageEvent::EventType())
            return QObject::event(e);
        auto* m = static_cast<MessageEvent*>(e);
        got.push_back({m->Msg, m->WParam, m->LParam});
        m->Result = m->WParam + m->LParam;
        return true;
    }
};

} // namespace

TEST(Messages, PostedMessagesArriveLaterInOrder) {
    Receiver r;
    PostMessage(&r, WM_USER + 14, 1, 2);
    PostMessage(&r, WM_USER + 15, 3, 4);
    EXPECT_TRUE(r.got.empty()); // queued, not delivered yet
    QCoreApplication::processEvents();
    ASSERT_EQ(r.got.size(), 2u);
    EXPECT_EQ(r.got[0].msg, WM_USER + 14);
    EXPECT_EQ(r.got[0].w, 1);
    EXPECT_EQ(r.got[1].l, 4);
}

TEST(Messages, SentMessagesArriveAtOnceWithTheirResult) {
    Receiver r;
    EXPECT_EQ(SendMessage(&r, 1038, 20, 22), 42);
    EXPECT_EQ(r.got.size(), 1u);
}

TEST(Messages, NoTargetOrADeadTargetIsANoOp) {
    PostMessage(nullptr, 1038);
    EXPECT_EQ(SendMessage(nullptr, 1038, 1, 1), 0);

    auto owner = std::make_unique<QObject>();
    auto* r = new Receiver;
    r->setParent(owner.get());
    HWND handle = r;
    PostMessage(handle, 1038);
    owner.reset(); // the receiver dies with a message still queued
    EXPECT_TRUE(handle.isNull());
    PostMessage(handle, 1038);
    QCoreApplication::processEvents(); // the queued message is dropped, nothing crashes
}
