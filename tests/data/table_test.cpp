// SPDX-License-Identifier: MIT
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/core/errors.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QBuffer>
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
    const QByteArray second = CatalogueFixture::Records(2)[1].Picture;
    EXPECT_EQ(blob->Value(), second);
    EXPECT_EQ(blob->BlobSize(), second.size());
    EXPECT_FALSE(blob->IsNull());
    const QString copy = fixture.Path("copy.bmp");
    blob->SaveToFile(copy);
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), second);
}

TEST_F(TableTest, PersistentFieldsFixTheFieldListAndMustExist) {
    fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(2));
    table.SetTableName("vlmor.db");
    auto* description = new data::TStringField(&table, "description", 255, &table);
    auto* picture = new data::TBlobField(&table, "GraphicFile", &table);
    table.Open();
    ASSERT_EQ(table.Fields().size(), 2u);
    EXPECT_EQ(description->AsString(), "Picture 0 of the border kind");
    EXPECT_EQ(picture->Value(), CatalogueFixture::Records(1)[0].Picture);
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
    EXPECT_EQ(OpenError(table), QStringLiteral("Table1: Cannot open table %1: the password is not "
                                               "valid or the table file is damaged")
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
    std::vector<catalog::CatalogueRecord> records = CatalogueFixture::Records(3000);
    for (auto& r : records)
        r.Picture = QByteArray(1500, 'p');
    const QString path = fixture.WriteCatalogue("vlmor.db", records);
    QFile original(path);
    const qint64 size = original.size();
    ASSERT_GT(size, 1024 * 1024);
    auto damagedCopy = [&](const QString& name, qint64 at) {
        const QString copy = fixture.Path(name);
        EXPECT_TRUE(QFile::copy(path, copy));
        QFile file(copy);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(at);
        file.write(QByteArray(4 * 4096, '\x5a'));
        return copy;
    };

    // The text columns are read when the table opens: damage there stops the opening.
    const QString textDamaged = damagedCopy("text.db", size - 5 * 4096);
    table.SetTableName("text.db");
    EXPECT_EQ(
        OpenError(table),
        QStringLiteral("Table1: Cannot open table %1: the table file is damaged").arg(textDamaged));
    EXPECT_FALSE(table.Active());

    // Pictures are read one by one: damage there is reported for the picture.
    const QString blobDamaged = damagedCopy("blobs.db", size / 3);
    table.SetTableName("blobs.db");
    table.Open();
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    QString error;
    for (int i = 0; i < table.CountRecords() && error.isEmpty(); ++i, table.GoNext()) {
        try {
            EXPECT_EQ(blob->Value().size(), 1500);
        } catch (const platform::Exception& e) {
            error = e.Message();
        }
    }
    EXPECT_EQ(error,
              QStringLiteral("Table1: Cannot read a blob of table %1: the table file is damaged")
                  .arg(blobDamaged));
    table.Close();

    // Damage on the first page looks like a wrong password to page authentication: after the
    // prompt is cancelled the message names both.
    {
        const QString first = damagedCopy("first.db", 100);
        FakeDialogs dialogs; // the prompt is cancelled
        table.SetTableName("first.db");
        EXPECT_EQ(OpenError(table), QStringLiteral("Table1: Cannot open table %1: the password is "
                                                   "not valid or the table file is damaged")
                                        .arg(first));
        EXPECT_EQ(dialogs.prompts.size(), 1);
    }

    // Cut to a whole number of pages: the opening or the pictures report damage, never a
    // crash and never a picture of the wrong size.
    for (qint64 pages : {qint64(1), qint64(2), qint64(5), size / 4096 / 2, size / 4096 - 1}) {
        SCOPED_TRACE(pages);
        const QString name = QStringLiteral("pages%1.db").arg(pages);
        const QString whole = fixture.Path(name);
        ASSERT_TRUE(QFile::copy(path, whole));
        ASSERT_TRUE(QFile(whole).resize(pages * 4096));
        FakeDialogs dialogs;
        table.SetTableName(name);
        try {
            table.Open();
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.Message().contains("damaged")) << e.Message().toStdString();
            continue;
        }
        auto* picture = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
        int read = 0;
        QString failure;
        for (int i = 0; i < table.CountRecords() && failure.isEmpty(); ++i, table.GoNext()) {
            try {
                EXPECT_EQ(picture->Value().size(), 1500);
                ++read;
            } catch (const platform::Exception& e) {
                failure = e.Message();
            }
        }
        EXPECT_TRUE(failure.contains("damaged")) << read << " pictures read";
        table.Close();
    }

    // A cut-off file is no table at all.
    const QString cut = fixture.Path("cut.db");
    ASSERT_TRUE(QFile::copy(path, cut));
    ASSERT_TRUE(QFile(cut).resize(size - 100));
    table.SetTableName("cut.db");
    EXPECT_TRUE(OpenError(table).endsWith("the file is not a table"));
}

TEST_F(TableTest, AFileWithoutEncryptionIsNoTable) {
    const QString path = fixture.Path("plain.db");
    catalog::CatalogueWriter writer(path, QByteArray());
    writer.Add({"A.BMP", "An open record", "misc", "x"});
    writer.Commit();
    table.SetTableName(path);
    EXPECT_EQ(OpenError(table),
              QStringLiteral("Table1: Cannot open table %1: the file is not a table").arg(path));
}

TEST_F(TableTest, AWritableCopyTakesBlobEditsOnPostAndDropsThemOnCancel) {
    fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(3));
    table.SetTableName("vlmor.db");
    table.Open();
    ASSERT_TRUE(table.CanModify());
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    const QByteArray stored = blob->Value();
    QBuffer fresh;
    fresh.setData("new picture bytes");
    fresh.open(QIODevice::ReadOnly);
    // Outside editing a blob cannot be loaded.
    EXPECT_THROW(blob->LoadFromStream(fresh), platform::Exception);

    table.Edit();
    EXPECT_EQ(table.State(), data::TDataSetState::dsEdit);
    blob->LoadFromStream(fresh);
    EXPECT_EQ(blob->Value(), "new picture bytes") << "the edit is read back before the post";
    table.Cancel();
    EXPECT_EQ(table.State(), data::TDataSetState::dsBrowse);
    EXPECT_EQ(blob->Value(), stored) << "a cancel drops it";

    table.Edit();
    fresh.seek(0);
    blob->LoadFromStream(fresh);
    table.Post();
    EXPECT_EQ(blob->Value(), "new picture bytes");
    // Moving on posts a pending edit; an empty value stores no picture.
    table.GoNext();
    table.Edit();
    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    blob->LoadFromStream(empty);
    table.GoNext();
    EXPECT_EQ(table.State(), data::TDataSetState::dsBrowse);
    table.Close();

    TTable again;
    again.setObjectName("Again");
    again.SetReadOnly(true);
    again.SetTableName(fixture.Path("vlmor.db"));
    again.Open();
    EXPECT_FALSE(again.CanModify());
    EXPECT_THROW(again.Edit(), platform::Exception) << "a read-only table refuses";
    auto* kept = qobject_cast<data::TBlobField*>(again.LookupField("GraphicFile"));
    EXPECT_EQ(kept->Value(), "new picture bytes");
    again.GoNext();
    EXPECT_TRUE(kept->IsNull());
    again.GoNext();
    EXPECT_EQ(kept->Value(), CatalogueFixture::Records(3)[2].Picture) << "the others unchanged";
}

// A read-ahead, on a worker or here, gives the open that follows the records a plain open
// reads, and the file it opened goes on serving the pictures; nothing opens before the open.
// A read-ahead of another file, of a file that was not there yet, or without the password
// leaves the open to do it all as always, with its usual errors.
TEST_F(TableTest, AReadAheadGivesTheOpenTheRecordsOfAPlainOpenAndAnythingElseOpensAsAlways) {
    const std::vector<catalog::CatalogueRecord> records = CatalogueFixture::Records(40);
    fixture.WriteCatalogue("vlmor.db", records);
    table.SetTableName("vlmor.db");
    auto readsAllOf = [&](const std::vector<catalog::CatalogueRecord>& expected) {
        ASSERT_EQ(table.CountRecords(), int(expected.size()));
        table.GoFirst();
        for (const catalog::CatalogueRecord& record : expected) {
            EXPECT_EQ(table.LookupField("FileName")->AsString(), record.FileName);
            EXPECT_EQ(table.LookupField("Description")->AsString(), record.Description);
            EXPECT_EQ(table.LookupField("Category")->AsString(), record.Category);
            EXPECT_EQ(static_cast<data::TBlobField*>(table.LookupField("GraphicFile"))->Value(),
                      record.Picture);
            table.GoNext();
        }
    };
    for (TTable::Reader reader : {TTable::Reader::Worker, TTable::Reader::ThisThread}) {
        table.ReadAhead(fixture.Dir(), "VLMOR.DB", reader);
        EXPECT_FALSE(table.Active());
        table.Open();
        readsAllOf(records);
        table.Close();
    }

    // What was read is what the open shows: the file replaced in between is not read again.
    table.ReadAhead(fixture.Dir(), "vlmor.db", TTable::Reader::ThisThread);
    ASSERT_TRUE(QFile::remove(fixture.Path("vlmor.db")));
    fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(3));
    table.Open();
    readsAllOf(records);
    table.Close();
    table.Open();
    EXPECT_EQ(table.CountRecords(), 3);
    table.Close();
    ASSERT_TRUE(QFile::remove(fixture.Path("vlmor.db")));
    fixture.WriteCatalogue("vlmor.db", records);

    fixture.WriteCatalogue("other.db", CatalogueFixture::Records(3));
    table.SetTableName("other.db");
    table.ReadAhead(fixture.Dir(), "vlmor.db");
    table.Open();
    EXPECT_EQ(table.CountRecords(), 3);
    table.Close();

    table.ReadAhead(fixture.Dir(), "late.db");
    const std::vector<catalog::CatalogueRecord> late = CatalogueFixture::Records(5);
    fixture.WriteCatalogue("late.db", late);
    table.SetTableName("late.db");
    table.Open();
    readsAllOf(late);
    table.Close();

    // Read ahead without the password: the open finds it in the session by then.
    data::Session().RemoveAllPasswords();
    table.SetTableName("vlmor.db");
    table.ReadAhead(fixture.Dir(), "vlmor.db");
    data::Session().AddPassword("tamsin###");
    FakeDialogs dialogs;
    table.Open();
    EXPECT_TRUE(dialogs.prompts.isEmpty());
    readsAllOf(records);
    table.Close();

    // A password taken away after the read-ahead is asked for again by the open.
    table.ReadAhead(fixture.Dir(), "vlmor.db", TTable::Reader::ThisThread);
    data::Session().RemoveAllPasswords();
    dialogs.promptAnswers = {std::nullopt};
    EXPECT_TRUE(OpenError(table).endsWith("the password is not valid or the table file is "
                                          "damaged"));
    EXPECT_EQ(dialogs.prompts.size(), 1);
    data::Session().AddPassword("tamsin###");

    // Fields given after the read-ahead fix the list the open reads, and must exist.
    table.ReadAhead(fixture.Dir(), "vlmor.db", TTable::Reader::ThisThread);
    auto* description = new data::TStringField(&table, "Description", 255, &table);
    table.Open();
    ASSERT_EQ(table.Fields().size(), 1u);
    EXPECT_EQ(description->AsString(), records[0].Description);
    table.Close();
    table.ReadAhead(fixture.Dir(), "vlmor.db");
    new data::TStringField(&table, "Colour", 10, &table);
    EXPECT_EQ(OpenError(table), "Table1: Field 'Colour' not found");
}
