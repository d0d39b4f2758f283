// SPDX-License-Identifier: MIT
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/errors.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using data::TTable;

namespace {

QString OpenError(TTable& table) {
    try {
        table.Open();
    } catch (const platform::Exception& e) {
        return e.Message();
    }
    return {};
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        data::Session().RemoveAllPasswords();
        data::Session().AddPassword("tamsin###");
        table.setObjectName("Table1");
        table.SetDatabaseName(fixture.Dir());
    }
    void TearDown() override { data::Session().RemoveAllPasswords(); }

    CatalogueFixture fixture;
    TTable table;
};

} // namespace

TEST_F(TableTest, OpensByDirectoryAndFileNameOrByFullPath) {
    const QString path = fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(3));
    table.SetTableName("VLMOR.DB"); // found ignoring case
    table.Open();
    EXPECT_EQ(table.CountRecords(), 3);
    ASSERT_EQ(table.Fields().size(), 4u);
    EXPECT_EQ(table.Fields()[0]->FieldName(), "FileName");
    EXPECT_EQ(table.Fields()[0]->Size(), 12);
    EXPECT_EQ(table.LookupField("Description")->Size(), 255);
    EXPECT_EQ(table.LookupField("GraphicFile")->DataType(), data::TFieldType::ftBlob);
    table.Close();

    table.SetDatabaseName("/nowhere");
    table.SetTableName(path); // a full path wins over the directory
    table.Open();
    EXPECT_EQ(table.LookupField("Category")->AsString(), "border");

    // Blobs are read from the store record by record.
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    table.GoNext();
    EXPECT_EQ(blob->Value(), QByteArray("BM1"));
    EXPECT_EQ(blob->BlobSize(), 3);
    EXPECT_FALSE(blob->IsNull());
    const QString copy = fixture.Path("copy.bmp");
    blob->SaveToFile(copy);
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("BM1"));
}

TEST_F(TableTest, PersistentFieldsFixTheFieldListAndMustExist) {
    fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(2));
    table.SetTableName("vlmor.db");
    auto* description = new data::TStringField(&table, "description", 255, &table);
    auto* picture = new data::TBlobField(&table, "GraphicFile", &table);
    table.Open();
    ASSERT_EQ(table.Fields().size(), 2u);
    EXPECT_EQ(description->AsString(), "Picture 0 of the border kind");
    EXPECT_EQ(picture->Value(), QByteArray("BM0"));
    table.Close();
    EXPECT_EQ(table.Fields().size(), 2u); // they outlive the close

    new data::TStringField(&table, "Colour", 10, &table);
    EXPECT_EQ(OpenError(table), "Table1: Field 'Colour' not found");
    EXPECT_FALSE(table.Active());
}

TEST_F(TableTest, AMissingFileOrAFileThatIsNoTableIsNamed) {
    table.SetTableName("absent.db");
    EXPECT_EQ(OpenError(table),
              QStringLiteral("Table1: Cannot open table %1: the file does not exist")
                  .arg(fixture.Path("absent.db")));
    QFile text(fixture.Path("notes.db"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("These are no records.\n");
    text.close();
    table.SetTableName("notes.db");
    EXPECT_EQ(OpenError(table),
              QStringLiteral("Table1: Cannot open table %1: the file is not a table")
                  .arg(fixture.Path("notes.db")));
    QDir(fixture.Dir()).mkdir("folder.db");
    table.SetTableName("folder.db");
    EXPECT_TRUE(OpenError(table).endsWith("the file is not a table"));
}

TEST_F(TableTest, AWrongPasswordMakesTheSessionAsk) {
    fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(2));
    table.SetTableName("vlmor.db");
    data::Session().RemoveAllPasswords();
    data::Session().AddPassword("wrong");
    FakeDialogs dialogs;
    dialogs.promptAnswers = {QString("also wrong"), std::nullopt};
    EXPECT_EQ(OpenError(table),
              QStringLiteral("Table1: Cannot open table %1: the password is not valid")
                  .arg(fixture.Path("vlmor.db")));
    EXPECT_EQ(dialogs.prompts, QStringList({"Enter password", "Enter password"}));

    dialogs.prompts.clear();
    dialogs.promptAnswers = {QString("tamsin###")};
    table.Open();
    EXPECT_EQ(table.CountRecords(), 2);
    EXPECT_EQ(dialogs.prompts.size(), 1);
    table.Close();
    table.Open(); // the session now holds it: no prompt
    EXPECT_EQ(dialogs.prompts.size(), 1);
}

TEST_F(TableTest, SessionPasswordsAreCutTo255Characters) {
    data::TSession session;
    session.AddPassword(QString(300, u'x'));
    session.AddPassword(QString(300, u'x'));
    ASSERT_EQ(session.Passwords().size(), 1u);
    EXPECT_EQ(session.Passwords()[0].size(), 255);
    session.RemovePassword(QString(255, u'x'));
    EXPECT_TRUE(session.Passwords().empty());
}

TEST_F(TableTest, ADamagedFileGivesAMessageNotACrash) {
    std::vector<catalog::TCatalogueRecord> records = CatalogueFixture::Records(3000);
    const QString path = fixture.WriteCatalogue("vlmor.db", records);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    ASSERT_GT(size, 64 * 1024);
    file.seek(size / 2); // a page in the middle of the records
    file.write(QByteArray(64, '\x5a'));
    file.close();
    table.SetTableName("vlmor.db");
    EXPECT_EQ(OpenError(table),
              QStringLiteral("Table1: Cannot open table %1: the table file is damaged").arg(path));
    EXPECT_FALSE(table.Active());

    // A cut-off file is no table at all.
    ASSERT_TRUE(file.resize(size - 100));
    EXPECT_TRUE(OpenError(table).endsWith("the file is not a table"));
}

TEST_F(TableTest, AFileWithoutEncryptionOpensWithoutAPassword) {
    const QString path = fixture.Path("plain.db");
    catalog::TCatalogueWriter writer(path, QByteArray());
    writer.Add({"A.BMP", "An open record", "misc", "x"});
    writer.Commit();
    data::Session().RemoveAllPasswords();
    table.SetTableName(path);
    table.Open();
    EXPECT_EQ(table.LookupField("FileName")->AsString(), "A.BMP");
}
