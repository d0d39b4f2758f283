// SPDX-License-Identifier: MIT
#include "data/data_source.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/core/errors.h"
#include "tests/data/recording_link.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <algorithm>
#include <gtest/gtest.h>

using data::TDataSet;
using data::TDataSource;
using data::TTable;

namespace {

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Exception& e) {
        return e.Message();
    }
    return {};
}

// A table of `count` records opened with one recording link of the given window size.
class DataSetTest : public ::testing::Test {
protected:
    void Build(int count, int linkWindow = 1) {
        data::Session().AddPassword("tamsin###");
        fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(count));
        table.setObjectName("Table1");
        table.SetDatabaseName(fixture.Dir());
        table.SetTableName("vlmor.db");
        source.SetDataSet(&table);
        link.SetWindowSize(linkWindow);
        link.SetDataSource(&source);
        table.Open();
        fileName = table.LookupField("FileName");
    }

    // The file name of the current record.
    QString Current() const { return fileName->AsString(); }

    CatalogueFixture fixture;
    TTable table;
    TDataSource source;
    RecordingLink link;
    data::TField* fileName = nullptr;
};

} // namespace

TEST_F(DataSetTest, OpeningActivatesLinksOnTheFirstRecordAndClosingDeactivates) {
    Build(5);
    EXPECT_EQ(link.Take(), QStringList({"active"}));
    EXPECT_TRUE(link.Active());
    EXPECT_TRUE(table.AtStart());
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(Current(), "PIC000.BMP");
    EXPECT_EQ(table.CountRecords(), 5);
    table.Close();
    EXPECT_EQ(link.Take(), QStringList({"inactive"}));
    EXPECT_EQ(table.Fields().size(), 0u); // fields made at open go with the close
}

TEST_F(DataSetTest, StepByScrollsWithNetShiftsAndStopsAtBothEnds) {
    Build(4);
    link.Take();
    EXPECT_EQ(table.StepBy(-1), 0); // at-start is already set: nothing happens
    EXPECT_TRUE(link.Take().isEmpty());

    // A one-record window shifts once per step; the link's window follows by one.
    EXPECT_EQ(table.StepBy(2), 2);
    EXPECT_EQ(link.Take(), QStringList({"scroll 2"}));
    EXPECT_EQ(Current(), "PIC002.BMP");
    EXPECT_FALSE(table.AtStart());

    EXPECT_EQ(table.StepBy(5), 1); // one more record, then the end
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(link.Take(), QStringList({"scroll 1"}));
    EXPECT_EQ(table.StepBy(1), 0);
    EXPECT_TRUE(link.Take().isEmpty());

    EXPECT_EQ(table.StepBy(-10), -3);
    EXPECT_TRUE(table.AtStart());
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(Current(), "PIC000.BMP");
    EXPECT_EQ(link.Take(), QStringList({"scroll -3"}));
}

TEST_F(DataSetTest, AWideWindowMovesInsideBeforeItShifts) {
    Build(10, 5);
    EXPECT_EQ(table.WindowSize(), 5);
    EXPECT_EQ(table.WindowRecordCount(), 5);
    link.Take();
    table.StepBy(2);
    EXPECT_EQ(link.Take(), QStringList({"scroll 0"}));
    EXPECT_EQ(link.ActiveRow(), 2);
    table.StepBy(4); // two inside, two shifts
    EXPECT_EQ(link.Take(), QStringList({"scroll 2"}));
    EXPECT_EQ(link.ActiveRow(), 4);
    EXPECT_EQ(Current(), "PIC006.BMP");
    table.StepBy(-1);
    EXPECT_EQ(link.Take(), QStringList({"scroll 0"}));
    EXPECT_EQ(link.ActiveRow(), 3);

    table.GoLast();
    EXPECT_EQ(link.Take(), QStringList({"change"}));
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(link.ActiveRow(), 4);
    EXPECT_EQ(Current(), "PIC009.BMP");
    table.GoFirst();
    EXPECT_EQ(link.Take(), QStringList({"change"}));
    EXPECT_EQ(link.ActiveRow(), 0);
    EXPECT_EQ(link.RowCount(), 5);
}

TEST_F(DataSetTest, AnotherLinksWindowFollowsTheCurrentRecord) {
    Build(10, 4);
    RecordingLink narrow;
    narrow.SetDataSource(&source);
    EXPECT_EQ(narrow.Take(), QStringList({"active"}));
    table.StepBy(3); // inside the wide window; the narrow one moves by three
    EXPECT_EQ(narrow.Take(), QStringList({"scroll 3"}));
    EXPECT_EQ(narrow.FirstRecord(), 3);
    EXPECT_EQ(narrow.ActiveRow(), 0);
    table.StepBy(-3);
    EXPECT_EQ(narrow.Take(), QStringList({"scroll -3"}));
    EXPECT_EQ(narrow.FirstRecord(), 0);
}

TEST_F(DataSetTest, ResizingTheWindowKeepsTheCurrentRecord) {
    Build(10, 1);
    table.StepBy(7);
    link.SetWindowSize(6); // grows after the record, then before it
    EXPECT_EQ(table.WindowRecordCount(), 6);
    EXPECT_EQ(Current(), "PIC007.BMP");
    EXPECT_EQ(link.ActiveRow(), 3);
    link.SetWindowSize(2);
    EXPECT_EQ(table.WindowSize(), 2);
    EXPECT_EQ(Current(), "PIC007.BMP");
    EXPECT_EQ(link.ActiveRow(), 1);
}

TEST_F(DataSetTest, GotoMarkCentresTheMarkedRecord) {
    Build(20, 5);
    table.StepBy(9);
    data::TBookmark mark = table.MarkPosition();
    table.GoFirst();
    link.Take();
    table.GotoMark(mark);
    EXPECT_EQ(link.Take(), QStringList({"change"}));
    EXPECT_EQ(Current(), "PIC009.BMP");
    EXPECT_EQ(table.ActiveRecord(), 2);
    EXPECT_FALSE(table.AtStart());

    table.GoLast();
    mark = table.MarkPosition();
    table.GoFirst();
    table.GotoMark(mark); // near the end the window is filled from before
    EXPECT_EQ(table.WindowRecordCount(), 5);
    EXPECT_EQ(table.ActiveRecord(), 4);

    table.FreeMark(mark);
    link.Take();
    table.GotoMark(mark); // an empty mark does nothing
    EXPECT_TRUE(link.Take().isEmpty());

    table.GoFirst();
    mark = table.MarkPosition();
    table.SetFilter("Category = 'letter'");
    table.SetFiltered(true);
    EXPECT_EQ(ErrorOf([&] { table.GotoMark(mark); }), "Table1: Record not found");
}

TEST_F(DataSetTest, SuspendedLinksGetOneDataSetChangeAtTheEnd) {
    Build(10);
    link.Take();
    table.SuspendLinks();
    table.SuspendLinks();
    table.GoNext();
    table.GoLast();
    table.ResumeLinks();
    EXPECT_TRUE(link.Take().isEmpty());
    table.ResumeLinks();
    EXPECT_EQ(link.Take(), QStringList({"change"}));

    // A close and open meanwhile end in a layout change.
    table.SuspendLinks();
    table.Close();
    table.Open();
    table.ResumeLinks();
    EXPECT_EQ(link.Take(), QStringList({"layout"}));

    // A close that stays closed ends in a state change only.
    table.SuspendLinks();
    table.Close();
    table.ResumeLinks();
    EXPECT_EQ(link.Take(), QStringList({"inactive"}));
    table.ResumeLinks(); // unbalanced: nothing
    EXPECT_TRUE(link.Take().isEmpty());
}

TEST_F(DataSetTest, FilteredRunsTheCallbackAndMovesFirstEveryTime) {
    Build(9);
    int calls = 0;
    table.SetOnFilterRecord([&](TDataSet& set, bool& accept) {
        ++calls;
        EXPECT_EQ(set.State(), data::TDataSetState::dsFilter);
        accept = set.LookupField("description")->AsString().contains("letter");
    });
    EXPECT_EQ(calls, 0); // not filtered yet
    table.StepBy(2);
    link.Take();
    table.SetFiltered(true);
    EXPECT_EQ(calls, 9);
    EXPECT_EQ(link.Take(), QStringList({"change"}));
    EXPECT_EQ(table.CountRecords(), 3);
    EXPECT_EQ(Current(), "PIC001.BMP");
    table.GoNext();
    table.SetFiltered(true);
    EXPECT_EQ(calls, 18);
    EXPECT_EQ(Current(), "PIC001.BMP");
    EXPECT_EQ(link.Take(), QStringList({"scroll 1", "change"}));

    table.SetOnFilterRecord([](TDataSet&, bool&) {}); // flag untouched: all visible
    EXPECT_EQ(table.CountRecords(), 9);
    table.SetFiltered(false);
    EXPECT_EQ(table.CountRecords(), 9);
}

// The pass handler is asked once a pass; when it answers that no record need be asked, every
// record passes and the record handler is not called, whatever it would have said; a filter
// expression still applies; a pass handler that fails is shown and the records are asked.
TEST_F(DataSetTest, APassHandlerAskedOnceAPassCanLetEveryRecordThrough) {
    Build(9);
    int passes = 0, calls = 0;
    bool ask = false;
    table.SetOnFilterRecord([&](TDataSet& set, bool& accept) {
        ++calls;
        accept = set.LookupField("description")->AsString().contains("letter");
    });
    table.SetOnFilterPass([&](TDataSet&) {
        ++passes;
        return ask;
    });
    table.SetFiltered(true);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(table.CountRecords(), 9);
    EXPECT_EQ(table.VisibleRecord(8), 8);
    EXPECT_THROW(table.VisibleRecord(9), std::out_of_range);
    table.GoLast();
    EXPECT_EQ(Current(), "PIC008.BMP");

    ask = true;
    table.SetFiltered(true);
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(calls, 9);
    EXPECT_EQ(table.CountRecords(), 3);

    ask = false;
    table.SetFilter("FileName = 'PIC00*'");
    EXPECT_EQ(calls, 9);
    EXPECT_EQ(table.CountRecords(), 9);
    table.SetFilter("FileName = 'PIC004.BMP'");
    EXPECT_EQ(table.CountRecords(), 1);
    EXPECT_EQ(calls, 9);

    FakeDialogs dialogs;
    table.SetFilter(QString());
    table.SetOnFilterPass([](TDataSet&) -> bool { throw platform::Exception("No pass"); });
    EXPECT_EQ(table.CountRecords(), 3) << "the records were asked";
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "No pass.");
}

TEST_F(DataSetTest, AnExceptionInTheCallbackIsShownAndTheFlagDecides) {
    Build(4);
    FakeDialogs dialogs;
    table.SetOnFilterRecord([](TDataSet& set, bool& accept) {
        const QString name = set.LookupField("FileName")->AsString();
        if (name == "PIC001.BMP") {
            accept = false;
            throw platform::Exception("Bad record");
        }
        if (name == "PIC002.BMP")
            throw platform::Exception("Kept anyway"); // flag still true
    });
    table.SetFiltered(true);
    EXPECT_EQ(table.CountRecords(), 3);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Bad record.");
    EXPECT_EQ(dialogs.boxes[1].text, "Kept anyway.");
    EXPECT_EQ(table.State(), data::TDataSetState::dsBrowse);
}

TEST_F(DataSetTest, FilterExpressionsRefilterOnEveryAssignment) {
    Build(9);
    table.SetFiltered(true);
    link.Take();
    table.SetFilter("Category = 'letter'");
    EXPECT_EQ(table.CountRecords(), 3);
    table.SetFilter("Category = 'letter'"); // unchanged text: still moves first
    EXPECT_EQ(link.Take(), QStringList({"change", "change"}));
    table.SetFilter("FileName = 'PIC00*'");
    EXPECT_EQ(table.CountRecords(), 9);
    table.SetFilter("Category = 'Letter'");
    EXPECT_EQ(table.CountRecords(), 0);
    EXPECT_TRUE(table.AtStart());
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(Current(), "");
    table.SetFilterOptions({true, false});
    EXPECT_EQ(table.CountRecords(), 3);
    table.SetFilterOptions({});

    // A bad text is refused and the previous filter stays in force.
    table.SetFilter("Category = 'border'");
    EXPECT_EQ(ErrorOf([&] { table.SetFilter("Category = 'o'neil'"); }),
              "Filter expression incorrectly terminated");
    EXPECT_EQ(table.Filter(), "Category = 'border'");
    EXPECT_EQ(table.CountRecords(), 3);
    EXPECT_EQ(ErrorOf([&] { table.SetFilter("Colour = 'red'"); }),
              "Table1: Field 'Colour' not found");

    // Unfiltered, a new text is only stored.
    table.SetFiltered(false);
    link.Take();
    table.SetFilter("Category = 'misc'");
    EXPECT_TRUE(link.Take().isEmpty());
    EXPECT_EQ(table.CountRecords(), 9);
}

TEST_F(DataSetTest, SettingsOfAClosedTableTakeEffectWhenItOpens) {
    Build(9);
    table.Close();
    table.SetFilter("Category = 'misc'");
    table.SetFiltered(true);
    table.Open();
    EXPECT_EQ(table.CountRecords(), 3);
    EXPECT_EQ(table.LookupField("Category")->AsString(), "misc");
    table.Close();
    table.SetFilter("Category = 'misc");
    EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Filter expression incorrectly terminated");
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(ErrorOf([&] { table.GoFirst(); }),
              "Table1: Cannot perform this operation on a closed dataset");
}

TEST_F(DataSetTest, FieldLookupIgnoresCaseAndNamesTheTable) {
    Build(2);
    EXPECT_EQ(table.LookupField("description")->FieldName(), "Description");
    EXPECT_EQ(table.LookupField("DESCRIPTION")->FieldName(), "Description");
    EXPECT_EQ(table.FindField("Colour"), nullptr);
    EXPECT_EQ(ErrorOf([&] { table.LookupField("Colour"); }), "Table1: Field 'Colour' not found");
}

TEST_F(DataSetTest, ARemovedDataSourceLeavesItsLinksInactive) {
    Build(3);
    auto* second = new TDataSource;
    second->SetDataSet(&table);
    RecordingLink other;
    other.SetDataSource(second);
    EXPECT_EQ(other.Take(), QStringList({"active"}));
    delete second;
    EXPECT_EQ(other.Take(), QStringList({"inactive"}));
    EXPECT_EQ(other.DataSource(), nullptr);
    table.GoNext(); // the remaining link still hears
    EXPECT_EQ(link.Take().last(), "scroll 1");

    source.SetEnabled(false);
    EXPECT_EQ(link.Take(), QStringList({"inactive"}));
    source.SetEnabled(true);
    EXPECT_EQ(link.Take(), QStringList({"active"}));
}

TEST_F(DataSetTest, AReadOnlyStoreRefusesEveryChange) {
    Build(2);
    EXPECT_EQ(ErrorOf([&] { table.SetReadOnly(true); }),
              "Table1: Cannot perform this operation on an open dataset");
    table.Close();
    table.SetReadOnly(true);
    table.Open();
    EXPECT_EQ(ErrorOf([&] { table.Edit(); }), "Table1: Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf([&] { table.Insert(); }), "Table1: Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf([&] { table.Post(); }), "Table1: Dataset not in edit or insert mode");
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    ASSERT_NE(blob, nullptr);
    const QString file = fixture.Path("picture.bin");
    blob->SaveToFile(file);
    EXPECT_EQ(ErrorOf([&] { blob->LoadFromFile(file); }),
              "Table1: Dataset not in edit or insert mode");
    blob->SetReadOnly(true);
    EXPECT_EQ(ErrorOf([&] { blob->LoadFromFile(file); }),
              "Table1: Field 'GraphicFile' cannot be modified");
}

TEST_F(DataSetTest, AnExactFilterVisitsTheRecordsOfItsValueWithTheCallbackInStoredOrder) {
    Build(9);
    QStringList asked;
    table.SetOnFilterRecord([&](TDataSet& set, bool& accept) {
        asked << set.LookupField("FileName")->AsString();
        accept = asked.size() != 2; // the middle one of the category is refused
    });
    table.SetFilter("Category = 'letter'");
    table.SetFiltered(true);
    // Only the three records of the category reach the callback, in stored order.
    ASSERT_EQ(asked.size(), 3);
    EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
    QStringList shown;
    for (table.GoFirst(); !table.AtEnd(); table.GoNext())
        shown << Current();
    EXPECT_EQ(shown, QStringList({asked[0], asked[2]}));
    EXPECT_EQ(table.State(), data::TDataSetState::dsBrowse)
        << "the filter state ends with the scan";

    // A table opened again over other records is indexed again.
    table.SetOnFilterRecord({});
    table.Close();
    fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(12));
    table.Open();
    EXPECT_EQ(table.CountRecords(), 4);
}
