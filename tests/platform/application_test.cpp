// SPDX-License-Identifier: MIT
#include "platform/core/errors.h"
#include "platform/ui/application.h"
#include "tests/support/fake_dialogs.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;

namespace {

class Thrower : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            throw ComponentError("Table1", "Record not found");
        }
        if (e->type() == QEvent::User + 1)
            throw std::runtime_error("plain failure");
        if (e->type() == QEvent::User + 2)
            throw 7;
        return QObject::event(e);
    }
};

} // namespace

TEST(Errors, NamedComponentsPrefixTheirMessages) {
    EXPECT_EQ(ComponentMessage("DBDataList1", "Field 'X' not found"),
              "DBDataList1: Field 'X' not found");
    EXPECT_EQ(ComponentMessage("", "Record not found"), "Record not found");
    EXPECT_STREQ(ComponentError("T", "m").what(), "T: m");
}

TEST(Application, AnExceptionFromAHandlerIsShownAndTheLoopGoesOn) {
    FakeDialogs dialogs;
    TApplication* app = TApplication::Instance();
    ASSERT_NE(app, nullptr);
    app->SetTitle("Vellamore");
    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(static_cast<QEvent::Type>(QEvent::User + 1)));
    QCoreApplication::postEvent(&thrower, new QEvent(static_cast<QEvent::Type>(QEvent::User + 2)));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    // As the classic handler shows it: a full stop added, the title as caption, an error icon.
    EXPECT_EQ(dialogs.boxes[0].text, "Table1: Record not found.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Vellamore");
    EXPECT_EQ(dialogs.boxes[0].flags & 0xF0, unsigned(MB_ICONERROR));
    EXPECT_EQ(dialogs.boxes[1].text, "plain failure.");
    EXPECT_EQ(dialogs.boxes[2].text, "Unknown exception.");
    EXPECT_EQ(thrower.handled, 1);
}

TEST(Application, AMessageEndingInPunctuationGainsNoFullStop) {
    FakeDialogs dialogs;
    TApplication::Instance()->ShowException("Field 'Name'");
    TApplication::Instance()->ShowException("Done.");
    TApplication::Instance()->ShowException("");
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[0].text, "Field 'Name'");
    EXPECT_EQ(dialogs.boxes[1].text, "Done.");
    EXPECT_EQ(dialogs.boxes[2].text, "");
}

TEST(Application, ClosingTheMainWindowEndsTheLoopButOtherWindowsDoNot) {
    TApplication* app = TApplication::Instance();
    QWidget main;
    QWidget other;
    app->SetMainForm(&main);
    ASSERT_EQ(app->MainForm(), &main);
    QWidget later;
    app->SetMainForm(&later); // the first one stays the main window
    EXPECT_EQ(app->MainForm(), &main);

    bool closedOther = false;
    QTimer::singleShot(0, [&] {
        other.show();
        other.close();
        closedOther = true;
    });
    QTimer::singleShot(20, [&] { main.close(); });
    QTimer::singleShot(5000, [&] { app->exit(99); }); // safety net
    EXPECT_EQ(app->Run(), 0);
    EXPECT_TRUE(closedOther);
}
