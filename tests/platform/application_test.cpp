// SPDX-License-Identifier: MIT
#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"
#include "platform/ui/application.h"
#include "platform/ui/widget_dialogs.h"
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

// The layers without widgets report errors and ask questions through the core; the
// application is what makes those message boxes.
TEST(Application, ErrorsReportedBelowTheWidgetsAreShownInItsMessageBox) {
    FakeDialogs dialogs;
    ReportError(QStringLiteral("Cannot read a blob"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Cannot read a blob.");
    EXPECT_EQ(dialogs.boxes[0].caption, TApplication::Instance()->Title());

    QStringList seen;
    SetErrorReporter([&](const QString& message) { seen << message; });
    ReportError(QStringLiteral("elsewhere"));
    SetErrorReporter(
        [](const QString& message) { TApplication::Instance()->ShowException(message); });
    EXPECT_EQ(seen, QStringList{"elsewhere"});
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "an installed reporter replaces the message box";
}

TEST(Application, TheDefaultDialogsAreTheWidgetOnesAndWithoutThemNoneAreAsked) {
    EXPECT_NE(dynamic_cast<WidgetDialogs*>(&Dialogs()), nullptr);
    {
        FakeDialogs dialogs;
        EXPECT_EQ(&Dialogs(), &dialogs) << "an installed service wins";
    }
    EXPECT_NE(dynamic_cast<WidgetDialogs*>(&Dialogs()), nullptr) << "null restores the default";

    DialogService& real = Dialogs();
    SetDefaultDialogService(nullptr);
    EXPECT_NE(dynamic_cast<NoDialogs*>(&Dialogs()), nullptr);
    EXPECT_EQ(Dialogs().MessageBox(nullptr, "printed", "caption", MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(Dialogs().PromptText(nullptr, "caption", "label", true).has_value());
    SetDefaultDialogService(&real);
}
