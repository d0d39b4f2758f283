// SPDX-License-Identifier: MIT
#include "app/data_module.h"

#include "app/catalogue_window.h"
#include "app/config.h"
#include "app/process_values.h"
#include "app/util.h"
#include "data/catalogue_schema.h"
#include "data/session.h"
#include "platform/core/paths.h"
#include "platform/core/text_case.h"
#include "platform/ui/application.h"

namespace cat = data::catalogue;

namespace {
TDataModule1* instance = nullptr;

template <typename T> T* Named(T* component, const char* name) {
    component->setObjectName(QString::fromLatin1(name));
    return component;
}
} // namespace

TDataModule1* DataModule1() {
    return instance;
}

TDataModule1::TDataModule1(QObject* parent)
    : QObject(parent) {
    setObjectName(QStringLiteral("DataModule1"));
    DataSource1 = Named(new data::TDataSource(this), "DataSource1");
    Table1 = Named(new data::TTable(this), "Table1");
    Table1->SetReadOnly(true);
    Table1->SetTableName(QStringLiteral("vlmor1ncr.DB")); // replaced on activation
    Table1->SetOnFilterRecord(
        [this](data::TDataSet& set, bool& accept) { Table1FilterRecord(set, accept); });
    Table1->SetOnFilterPass([this](data::TDataSet& set) { return Table1FilterPass(set); });
    Table1FileName = Named(new data::TStringField(Table1, cat::kFileName, cat::kFileNameSize, this),
                           "Table1FileName");
    Table1Description =
        Named(new data::TStringField(Table1, cat::kDescription, cat::kDescriptionSize, this),
              "Table1Description");
    Table1GraphicFile =
        Named(new data::TBlobField(Table1, cat::kGraphicFile, this), "Table1GraphicFile");
    Table1Category = Named(new data::TStringField(Table1, cat::kCategory, cat::kCategorySize, this),
                           "Table1Category");
    DataSource1->SetDataSet(Table1);

    DataSource2 = Named(new data::TDataSource(this), "DataSource2");
    Table2 = Named(new data::TTable(this), "Table2");
    Table2->SetTableName(cat::kCategoryTableFile);
    DataSource2->SetDataSet(Table2);
    if (!instance)
        instance = this;
}

TDataModule1::~TDataModule1() {
    if (instance == this)
        instance = nullptr;
    // Close before the fields go, so bound controls see the tables close first.
    Table1->Close();
    Table2->Close();
}

void TDataModule1::Activate(CatalogueWindow& window) {
    window_ = &window;
    data::Session().AddPassword(cat::kTablePassword);

    const QString programDir = platform::IncludeTrailingPathDelimiter(Process().ProgramDir);
    helpFileName_ = programDir + QStringLiteral("Vlmor.hlp");
    if (auto* app = platform::TApplication::Instance())
        app->SetHelpFile(helpFileName_);

    programDirectory_ = StripTrailingBackslash(Process().ProgramDir);
    saveInitialDir_ = programDirectory_;

    Config& settings = Settings();
    settings.DataPath = StripTrailingBackslash(settings.DataPath);

    // On the first activation the category table's file is read on a worker (its key
    // derivation is most of its opening) while the catalogue's records are read here; the
    // tables still open in their order below, and only then does anybody hear of them. An
    // open catalogue is not read ahead: that would hold its records twice.
    const QString catalogueName =
        platform::ChangeFileExt(Process().ProgramPath, QStringLiteral(".db"));
    struct ReadAheadGuard {
        data::TTable* table;
        ~ReadAheadGuard() { table->DiscardReadAhead(); } // nothing held after a failure
    } readAhead{Table1};
    if (!Table1->Active()) {
        Table2->ReadAhead(settings.DataPath, Table2->TableName());
        Table1->ReadAhead(settings.DataPath, catalogueName, data::TTable::Reader::ThisThread);
    }

    Table2->Close();
    Table2->SetDatabaseName(settings.DataPath);
    Table2->Open();

    Table1->Close();
    Table1->SetDatabaseName(settings.DataPath);
    Table1->SetTableName(catalogueName);
    Table1->Open();

    Table1->SetFilter(QString());
    Table1->SetFiltered(true);

    window.ClearTabs();
    Table2->GoFirst();
    const int count = Table2->CountRecords();
    for (int i = 1; i <= count; ++i) {
        window.AddTab(Table2->LookupField(cat::kCategoryName)->AsString());
        if (i < Table2->CountRecords())
            Table2->GoNext();
    }
}

void TDataModule1::CategoryChange(int tabIndex, const QString& caption) {
    Table1->GoFirst();
    Table1->SetFilter(cat::CategoryFilter(caption));
    if (tabIndex == 0)
        Table1->SetFilter(QString());
}

bool TDataModule1::Table1FilterPass(data::TDataSet& dataSet) {
    // Nothing can change the toggle, the box or the fields while one pass examines the records
    // (no event is handled in between), so they are read once a pass, not once a record: the
    // same answers, a million records sooner. With the toggle up every record passes, whatever
    // the text, and no record need be asked.
    searching_ = window_ && window_->SearchToggleDown();
    if (searching_) {
        const QString search = window_->SearchText();
        if (search != lastSearchText_) {
            lastSearchText_ = search;
            lastSearchUpper_ = platform::UpperCase(search);
        }
    }
    searchField_ = dataSet.FindField(QStringLiteral("description"));
    return searching_;
}

void TDataModule1::Table1FilterRecord(data::TDataSet& dataSet, bool& accept) {
    if (!searching_)
        return;
    // No such field: asked again, so its error is raised as for any lookup.
    const data::TField* field =
        searchField_ ? searchField_ : dataSet.LookupField(QStringLiteral("description"));
    // A text field is read where the record source holds it, without a copy a record.
    accept = field->DataType() == data::TFieldType::ftString
                 ? cat::MatchesSearch(static_cast<const data::TStringField*>(field)->View(),
                                      lastSearchUpper_)
                 : cat::MatchesSearch(field->AsString(), lastSearchUpper_);
}
