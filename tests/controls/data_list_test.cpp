// SPDX-License-Identifier: MIT
// The data-aware list against a real table: how it fills, follows the cursor and moves it,
// watched by a recording link on the same data source.
#include "controls/datalist/data_list.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "tests/data/recording_link.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/qt_printers.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class DataListTest : public ::testing::Test {
protected:
    void SetUp() override {
        data::Session().AddPassword("tamsin###");
        fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(7, {"border", "letter"}));
        table.setObjectName("Table1");
        table.SetTableName(fixture.Path("vlmor.db"));
        source.SetDataSet(&table);
        recorder.SetDataSource(&source);
        list.resize(160, 400); // room for every row
        list.SetDataSource(&source);
        list.SetDataField("FileName");
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    void TearDown() override {
        recorder.SetDataSource(nullptr);
        list.SetDataSource(nullptr);
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < list.Items().Count(); ++i)
            rows << list.Items().Text(i);
        return rows;
    }
    QString Current() const { return table.LookupField("FileName")->AsString(); }
    static QString Name(int i) {
        return QStringLiteral("PIC%1.BMP").arg(i, 3, 10, QLatin1Char('0'));
    }

    CatalogueFixture fixture;
    data::TTable table;
    data::TDataSource source;
    RecordingLink recorder;
    controls::TDBDataList list;
};

} // namespace

TEST_F(DataListTest, FillsEveryRecordInOrderWithoutMovingTheCursorForOthers) {
    EXPECT_EQ(list.Items().Count(), 0) << "a closed table lists nothing";
    table.Open();
    QStringList expected;
    for (int i = 0; i < 7; ++i)
        expected << Name(i);
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(Current(), Name(0));
    // The walk over the records is not seen record by record by the other links: they hear of
    // the opening and of one data-set change when the suspended links resume, no scroll.
    EXPECT_EQ(recorder.Take(), QStringList({"active", "change"}));
}

TEST_F(DataListTest, FollowsTheCursorToTheLastRecordAndBack) {
    table.Open();
    recorder.Take();
    table.GoNext();
    EXPECT_EQ(list.ItemIndex(), 1);
    table.GoLast();
    EXPECT_EQ(list.ItemIndex(), 6);
    EXPECT_EQ(Current(), Name(6));
    table.GoNext(); // past the end: nothing moves
    EXPECT_EQ(list.ItemIndex(), 6);
    table.GoFirst();
    EXPECT_EQ(list.ItemIndex(), 0);
}

TEST_F(DataListTest, APickedRowMovesTheCursorByItsDistance) {
    table.Open();
    recorder.Take();
    list.SetItemIndex(4);
    EXPECT_EQ(Current(), Name(4));
    EXPECT_EQ(list.RememberedRow(), 4);
    const QStringList events = recorder.Take();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_TRUE(events.first().startsWith("scroll")) << events.join(", ").toStdString();
    list.SetItemIndex(1);
    EXPECT_EQ(Current(), Name(1));
    EXPECT_EQ(list.ItemIndex(), 1);
}

TEST_F(DataListTest, AnEmptySetListsNothingAndARefreshKeepsTheRows) {
    table.Open();
    list.SetItemIndex(3);
    table.Refresh();
    EXPECT_EQ(list.Items().Count(), 7);
    EXPECT_EQ(Current(), Name(list.ItemIndex())) << "the list still shows the current record";

    table.SetFilter("Category = 'nothing'");
    table.SetFiltered(true);
    EXPECT_EQ(list.Items().Count(), 0);
    EXPECT_EQ(list.ItemIndex(), -1);

    table.SetFilter("Category = 'letter'");
    EXPECT_EQ(Rows(), QStringList({Name(1), Name(3), Name(5)}));
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(Current(), Name(1));
}
