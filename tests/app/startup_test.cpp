// SPDX-License-Identifier: MIT
#include "app/about_box.h"
#include "app/config.h"
#include "app/data_module.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/splash_window.h"
#include "platform/core/tick_counter.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A tick counter that moves on by a fixed step at every read.
struct SteppingTicks {
    std::uint32_t now;
    std::uint32_t step;
    int reads = 0;
    void Install() {
        platform::SetTickSource([this] {
            ++reads;
            const std::uint32_t t = now;
            now += step;
            return t;
        });
    }
    ~SteppingTicks() { platform::SetTickSource({}); }
};

TdlgSplash* VisibleSplash() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* s = qobject_cast<TdlgSplash*>(w); s && s->isVisible())
            return s;
    }
    return nullptr;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile ini(dir.filePath("vlmor.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Config]\nTitle=Catalogue Title\nQuantity=Q text\nLine1=L1\nLine2=L2\n");
    }
    QTemporaryDir dir;
};

TEST_F(StartupTest, WindowsAreCreatedInOrderWhileTheSplashIsUp) {
    SteppingTicks ticks{1000, 700};
    ticks.Install();
    platform::TApplication& app = *platform::TApplication::Instance();
    Program program(app);
    QStringList steps;
    QString splashTextsDuringStart;
    program.Trace = [&](const QString& step) {
        steps << step;
        if (step == "about") {
            TdlgSplash* splash = VisibleSplash();
            ASSERT_NE(splash, nullptr);
            splashTextsDuringStart = splash->Panel.lblQuantity->text() + "|" +
                                     splash->Panel.lblLine1->text() + "|" +
                                     splash->Panel.lblLine2->text();
        }
    };
    program.Start(dir.filePath("vlmor"));

    EXPECT_EQ(steps, QStringList({"config", "splash", "application", "main", "data", "about",
                                  "wait", "splash closed"}));
    EXPECT_EQ(splashTextsDuringStart, "Q text|L1|L2");
    EXPECT_EQ(VisibleSplash(), nullptr);
    EXPECT_EQ(program.Deadline(), 1000u + 3999u);
    // The wait read the counter until it reached the deadline, and not again after.
    EXPECT_GE(ticks.now - ticks.step, program.Deadline());
    EXPECT_LT(ticks.now - 2 * ticks.step, program.Deadline());

    ASSERT_NE(program.MainWindow(), nullptr);
    EXPECT_EQ(program.MainWindow()->windowTitle(), "Catalogue Title");
    EXPECT_EQ(app.MainForm(), program.MainWindow());
    EXPECT_EQ(app.Title(), "Vellamore");
    EXPECT_EQ(app.HelpFile(), "vlmor.hlp");
    ASSERT_NE(program.DataModule(), nullptr);
    ASSERT_NE(program.AboutBox(), nullptr);
    EXPECT_FALSE(program.AboutBox()->isVisible());
    EXPECT_EQ(program.AboutBox()->Panel.lblQuantity->text(), "Q text");
    EXPECT_EQ(program.AboutBox()->Panel.lblLine2->text(), "L2");
    EXPECT_EQ(Settings().TitleText, "Catalogue Title");
}

TEST(BusyWait, StopsAtTheDeadlineInUnsignedArithmetic) {
    SteppingTicks ticks{0, 1000};
    ticks.Install();
    EXPECT_EQ(WaitForTick(3999), 5); // 0, 1000, 2000, 3000 are below; 4000 is not
    // Windows that took longer than the splash time leave nothing to wait for.
    SteppingTicks slow{5000, 5000};
    slow.Install();
    EXPECT_EQ(WaitForTick(3999), 1);
}

TEST(BusyWait, ADeadlinePastTwoToTheThirtyTwoWrapsAndEndsTheWaitAtOnce) {
    const std::uint32_t start = 0xFFFFF500u;
    const std::uint32_t deadline = start + SplashMilliseconds;
    EXPECT_EQ(deadline, 0x49Fu);
    SteppingTicks ticks{start + 10, 1};
    ticks.Install();
    EXPECT_EQ(WaitForTick(deadline), 1);

    // Just short of the wrap the wait is the full time.
    SteppingTicks near{0xFFFFE000u, 1000};
    near.Install();
    EXPECT_EQ(WaitForTick(0xFFFFE000u + SplashMilliseconds), 5);
}

} // namespace
