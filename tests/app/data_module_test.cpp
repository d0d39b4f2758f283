// SPDX-License-Identifier: MIT
#include "app/catalogue_window.h"
#include "app/config.h"
#include "app/data_module.h"
#include "app/process_values.h"
#include "data/session.h"
#include "platform/core/errors.h"
#include "platform/core/paths.h"
#include "platform/ui/application.h"
#include "tests/data/recording_link.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/qt_printers.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// The main window's side, as the data module sees it.
struct FakeWindow : CatalogueWindow {
    QString text;
    bool down = false;
    QStringList tabs;
    QString SearchText() const override { return text; }
    bool SearchToggleDown() const override { return down; }
    void ClearTabs() override { tabs.clear(); }
    void AddTab(const QString& caption) override { tabs << caption; }
};

const QStringList kCategories = {"All",    "Background", "Border",  "Header",
                                 "Letter", "Misc",       "Ornament"};

// A program directory with a catalogue beside the program and the category table in it.
class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        data::Session().RemoveAllPasswords();
        savedDir = QDir::currentPath();
        savedConfig = Settings();
        ASSERT_TRUE(InitProcessValues(fixture.Path("vlmor")));
        std::vector<catalog::CatalogueRecord> records = {
            {"TREE1.BMP", "A Tree with golden leaves", "misc", "1"},
            {"TREE2.BMP", "PALM TREE AT NIGHT", "misc", "2"},
            {"STAR.BMP", "Star border", "border", "3"},
            {"ROSE.BMP", "Floral border of roses", "border", "4"},
            {"CAFE.BMP", "Caf\u00e9 sign", "header", "5"},
            {"CAPS.BMP", "CAF\u00c9 SIGN", "header", "6"},
            {"SPACE.BMP", "gold star", "ornament", "7"},
        };
        fixture.WriteCatalogue("vlmor.db", records);
        fixture.WriteCategories("category.db", kCategories);
        Settings().DataPath = fixture.Dir() + "/";
        link.SetDataSource(module.DataSource1);
    }
    void TearDown() override {
        QDir::setCurrent(savedDir);
        Settings() = savedConfig;
        data::Session().RemoveAllPasswords();
    }

    QString Activate() {
        try {
            module.Activate(window);
        } catch (const platform::Exception& e) {
            return e.Message();
        }
        return {};
    }

    QStringList VisibleNames() {
        QStringList names;
        data::TTable& t = *module.Table1;
        t.GoFirst();
        for (int i = 0; i < t.CountRecords(); ++i, t.GoNext())
            names << module.Table1FileName->AsString();
        t.GoFirst();
        return names;
    }

    CatalogueFixture fixture;
    QString savedDir;
    Config savedConfig;
    TDataModule1 module;
    FakeWindow window;
    RecordingLink link;
};

} // namespace

TEST_F(DataModuleTest, ActivationOpensBothTablesAndRebuildsTheTabs) {
    window.tabs = QStringList({"stale"});
    ASSERT_EQ(Activate(), "");
    EXPECT_EQ(window.tabs, kCategories);
    EXPECT_TRUE(module.Table1->Active());
    EXPECT_TRUE(module.Table1->Filtered());
    EXPECT_EQ(module.Table1->Filter(), "");
    EXPECT_TRUE(module.Table1->ReadOnly());
    EXPECT_EQ(module.Table1->CountRecords(), 7);
    EXPECT_EQ(module.Table1FileName->AsString(), "TREE1.BMP");
    EXPECT_EQ(module.HelpFileName(), fixture.Dir() + "/Vlmor.hlp");
    EXPECT_EQ(platform::TApplication::Instance()->HelpFile(), fixture.Dir() + "/Vlmor.hlp");
    EXPECT_EQ(module.ProgramDirectory(), fixture.Dir());
    EXPECT_EQ(module.SaveInitialDir(), fixture.Dir());
    EXPECT_EQ(Settings().DataPath, fixture.Dir()); // its trailing separator goes
    EXPECT_TRUE(data::Session().Passwords().size() == 1);
}

TEST_F(DataModuleTest, TheCatalogueLiesBesideTheProgramWhereverDataPathPoints) {
    CatalogueFixture elsewhere;
    elsewhere.WriteCatalogue("vlmor.db", CatalogueFixture::Records(2)); // a decoy
    elsewhere.WriteCategories("category.db", {"All", "Only"});
    Settings().DataPath = elsewhere.Dir();
    ASSERT_EQ(Activate(), "");
    EXPECT_EQ(window.tabs, QStringList({"All", "Only"}));
    EXPECT_EQ(module.Table1->CountRecords(), 7);
    EXPECT_EQ(module.Table1->TablePath(), fixture.Path("vlmor.db"));
}

TEST_F(DataModuleTest, ARelativeDataPathFollowsTheCurrentDirectory) {
    QDir(fixture.Dir()).mkdir("data");
    fixture.WriteCategories("data/category.db", {"All", "First"});
    CatalogueFixture other;
    QDir(other.Dir()).mkdir("data");
    other.WriteCategories("data/category.db", {"All", "Second"});
    Settings().DataPath = "data\\";
    ASSERT_EQ(Activate(), "");
    EXPECT_EQ(window.tabs, QStringList({"All", "First"}));
    QDir::setCurrent(other.Dir()); // as after saving into another folder
    ASSERT_EQ(Activate(), "");
    EXPECT_EQ(window.tabs, QStringList({"All", "Second"}));
}

TEST_F(DataModuleTest, ACategoryTabFiltersAndTheFirstTabFiltersTwice) {
    ASSERT_EQ(Activate(), "");
    module.Table1->GoLast();
    link.Take();
    module.CategoryChange(2, "Border");
    EXPECT_EQ(module.Table1->Filter(), "Category = 'border'");
    EXPECT_EQ(VisibleNames(), QStringList({"STAR.BMP", "ROSE.BMP"}));
    link.Take();
    module.CategoryChange(0, "All");
    EXPECT_EQ(link.Take(), QStringList({"change", "change", "change"})); // first, then two filters
    EXPECT_EQ(module.Table1->Filter(), "");
    EXPECT_EQ(module.Table1->CountRecords(), 7);

    // A caption with a quote is refused; the previous filter stays.
    module.CategoryChange(6, "Ornament");
    try {
        module.CategoryChange(3, "O'Neil");
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "Filter expression incorrectly terminated");
    }
    EXPECT_EQ(VisibleNames(), QStringList({"SPACE.BMP"}));
}

TEST_F(DataModuleTest, TheSearchFilterMatchesDescriptionsIgnoringTheCaseOfAToZ) {
    ASSERT_EQ(Activate(), "");
    auto refilter = [this](const QString& text, bool down) {
        window.text = text;
        window.down = down;
        module.Table1->SetFiltered(true);
        return VisibleNames();
    };
    EXPECT_EQ(refilter("tree", true), QStringList({"TREE1.BMP", "TREE2.BMP"}));
    EXPECT_EQ(refilter("tree", false).size(), 7);                      // toggle up: all
    EXPECT_EQ(refilter("", true).size(), 7);                           // empty text: all
    EXPECT_EQ(refilter("caf\u00e9", true), QStringList({"CAFE.BMP"})); // é is not A to Z
    EXPECT_EQ(refilter("CAF\u00c9", true), QStringList({"CAPS.BMP"}));
    EXPECT_EQ(refilter(" star", true), QStringList({"SPACE.BMP"})); // blanks count
    EXPECT_EQ(refilter("star ", true), QStringList({"STAR.BMP"}));

    // Within a category both filters apply.
    module.CategoryChange(2, "Border");
    window.text = "floral";
    module.Table1->SetFiltered(true);
    EXPECT_EQ(VisibleNames(), QStringList({"ROSE.BMP"}));

    // Typing changes nothing until the next re-filter.
    window.text = "palm";
    EXPECT_EQ(VisibleNames(), QStringList({"ROSE.BMP"}));

    // Activation again: tabs rebuilt, every category back, the search still applied.
    window.tabs.clear();
    window.text = "gold";
    ASSERT_EQ(Activate(), "");
    EXPECT_EQ(window.tabs, kCategories);
    EXPECT_EQ(module.Table1->Filter(), "");
    EXPECT_EQ(VisibleNames(), QStringList({"TREE1.BMP", "SPACE.BMP"}));
}

TEST_F(DataModuleTest, CategoryTablesWithoutRecordsOrWithoutTheFieldGiveNoTabs) {
    fixture.WriteCategories("category.db", {});
    ASSERT_EQ(Activate(), "");
    EXPECT_TRUE(window.tabs.isEmpty());

    {
        catalog::TableWriter writer(fixture.Path("category.db"), "Category",
                                    {{"Name", "VARCHAR(12)"}}, catalog::TablePassword());
        writer.AddRow({QString("All")});
        writer.Commit();
    }
    window.tabs = QStringList({"stale"});
    EXPECT_EQ(Activate(), "Table2: Field 'Category Name' not found");
    EXPECT_TRUE(window.tabs.isEmpty());
}

TEST_F(DataModuleTest, AMissingCatalogueEndsTheSequenceThere) {
    QFile::remove(fixture.Path("vlmor.db"));
    window.tabs = QStringList({"kept"});
    EXPECT_EQ(Activate(), QStringLiteral("Table1: Cannot open table %1: the file does not exist")
                              .arg(fixture.Path("vlmor.db")));
    EXPECT_EQ(window.tabs, QStringList({"kept"}));
    EXPECT_TRUE(module.Table2->Active());
    EXPECT_FALSE(module.Table1->Active());
}
