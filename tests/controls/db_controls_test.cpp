// SPDX-License-Identifier: MIT
#include "controls/dbcontrols/db_navigator.h"
#include "controls/dbcontrols/db_text.h"
#include "data/data_source.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/core/errors.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QDir>
#include <QLayout>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using controls::TDBNavigator;
using controls::TNavigateBtn;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        data::Session().AddPassword("tamsin###");
        fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(3));
        table.setObjectName("Table1");
        table.SetTableName(fixture.Path("vlmor.db"));
        table.SetReadOnly(true); // as the program opens its catalogue
        source = new data::TDataSource;
        source->SetDataSet(&table);
    }
    void TearDown() override { delete source; }

    bool Enabled(const TDBNavigator& nav, TNavigateBtn b) { return nav.Button(b)->isEnabled(); }

    CatalogueFixture fixture;
    data::TTable table;
    data::TDataSource* source = nullptr;
};

} // namespace

TEST_F(ControlsTest, FieldLabelShowsTheCurrentRecordAndNothingWithoutALink) {
    controls::TDBText label;
    label.setObjectName("lblDescription");
    label.SetDataSource(source);
    label.SetDataField("description");
    EXPECT_EQ(label.text(), "");
    table.Open();
    EXPECT_EQ(label.text(), "Picture 0 of the border kind");
    table.GoNext();
    EXPECT_EQ(label.text(), "Picture 1 of the letter kind");
    EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    label.SetWordWrap(true);
    EXPECT_TRUE(label.wordWrap());

    delete source; // the label is told and shows nothing
    source = nullptr;
    EXPECT_EQ(label.DataSource(), nullptr);
    EXPECT_EQ(label.text(), "");
}

TEST_F(ControlsTest, AFieldNamedByNoColumnIsReportedForTheControl) {
    controls::TDBText label;
    label.setObjectName("DBText1");
    label.SetDataSource(source);
    label.SetDataField("Colour");
    try {
        table.Open();
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "DBText1: Field 'Colour' not found");
    }
    EXPECT_EQ(label.text(), "");
}

TEST_F(ControlsTest, NavigatorButtonsFollowTheCursor) {
    TDBNavigator nav;
    nav.SetVisibleButtons(
        {TNavigateBtn::nbFirst, TNavigateBtn::nbPrior, TNavigateBtn::nbNext, TNavigateBtn::nbLast});
    nav.resize(100, 25);
    nav.show();
    nav.layout()->activate();
    nav.SetDataSource(source);
    for (int b = 0; b < controls::kNavigateButtonCount; ++b)
        EXPECT_FALSE(nav.Button(static_cast<TNavigateBtn>(b))->isEnabled()) << b;
    EXPECT_TRUE(nav.Button(TNavigateBtn::nbEdit)->isHidden());
    EXPECT_EQ(nav.Button(TNavigateBtn::nbLast)->geometry(), QRect(75, 0, 25, 25));

    table.Open();
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbFirst));
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbPrior));
    EXPECT_TRUE(Enabled(nav, TNavigateBtn::nbNext));
    EXPECT_TRUE(Enabled(nav, TNavigateBtn::nbLast));
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbInsert)); // a read-only store

    QTest::mouseClick(nav.Button(TNavigateBtn::nbNext), Qt::LeftButton);
    EXPECT_EQ(table.LookupField("FileName")->AsString(), "PIC001.BMP");
    EXPECT_TRUE(Enabled(nav, TNavigateBtn::nbPrior));
    QTest::mouseClick(nav.Button(TNavigateBtn::nbLast), Qt::LeftButton);
    EXPECT_EQ(table.LookupField("FileName")->AsString(), "PIC002.BMP");
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbNext));
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbLast));
    QTest::mouseClick(nav.Button(TNavigateBtn::nbPrior), Qt::LeftButton);
    EXPECT_TRUE(Enabled(nav, TNavigateBtn::nbNext));
    QTest::mouseClick(nav.Button(TNavigateBtn::nbFirst), Qt::LeftButton);
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbFirst));

    // StepBy(-1) on the first record changes nothing and leaves first and prior off.
    EXPECT_EQ(table.StepBy(-1), 0);
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbPrior));

    table.Close();
    EXPECT_FALSE(Enabled(nav, TNavigateBtn::nbNext));
}

TEST_F(ControlsTest, NavigatorRepeatsPriorAndNextAndShowsItsHints) {
    TDBNavigator nav;
    for (TNavigateBtn b : {TNavigateBtn::nbPrior, TNavigateBtn::nbNext}) {
        EXPECT_TRUE(nav.Button(b)->autoRepeat());
        EXPECT_EQ(nav.Button(b)->autoRepeatDelay(), 400);
        EXPECT_EQ(nav.Button(b)->autoRepeatInterval(), 100);
    }
    EXPECT_FALSE(nav.Button(TNavigateBtn::nbFirst)->autoRepeat());
    EXPECT_EQ(nav.Button(TNavigateBtn::nbFirst)->toolTip(), "");
    nav.SetShowHint(true);
    EXPECT_EQ(nav.Button(TNavigateBtn::nbFirst)->toolTip(), "First record");
    EXPECT_EQ(nav.Button(TNavigateBtn::nbPrior)->toolTip(), "Prior record");
    EXPECT_EQ(nav.Button(TNavigateBtn::nbNext)->toolTip(), "Next record");
    EXPECT_EQ(nav.Button(TNavigateBtn::nbLast)->toolTip(), "Last record");
    EXPECT_FALSE(nav.Button(TNavigateBtn::nbFirst)->icon().isNull());
}

TEST_F(ControlsTest, ARefusedNavigatorActionIsShownNotThrown) {
    FakeDialogs dialogs;
    TDBNavigator nav;
    nav.SetDataSource(source);
    table.Open();
    nav.BtnClick(TNavigateBtn::nbEdit);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Table1: Cannot modify a read-only dataset.");
}

TEST_F(ControlsTest, NavigatorGlyphsAreDrawnAndGreyWhenDisabled) {
    TDBNavigator nav;
    nav.SetVisibleButtons(
        {TNavigateBtn::nbFirst, TNavigateBtn::nbPrior, TNavigateBtn::nbNext, TNavigateBtn::nbLast});
    nav.resize(120, 25);
    nav.SetDataSource(source);
    table.Open();
    nav.show();
    nav.layout()->activate();
    const QImage shot = nav.grab().toImage();
    QDir().mkpath("screenshots");
    shot.save("screenshots/navigator.png");
    // Next (enabled) has a black arrow; first (disabled at the start) has none.
    auto darkPixels = [&shot](TNavigateBtn b, const TDBNavigator& n) {
        const QRect r = n.Button(b)->geometry();
        int dark = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                dark += qGray(shot.pixel(x, y)) < 40 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkPixels(TNavigateBtn::nbNext, nav), 15);
    EXPECT_EQ(darkPixels(TNavigateBtn::nbFirst, nav), 0);
}
