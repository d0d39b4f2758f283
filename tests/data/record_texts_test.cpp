// SPDX-License-Identifier: MIT
#include "data/record_texts.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using data::RecordTexts;

void AddUtf8(RecordTexts& texts, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    texts.AddUtf8(utf8.constData(), std::size_t(utf8.size()));
}

TEST(RecordTextsTest, EveryKindOfTextComesBackAsItWent) {
    // ASCII, Latin-1 beyond ASCII, wide characters, a surrogate pair and empty cells, each
    // after cells of odd lengths so wide text has to be put on an even place.
    const QStringList values = {QStringLiteral("ROSE01.DXF"),
                                QStringLiteral("Caf\u00e9 sign, na\u00efve style"),
                                QString(),
                                QStringLiteral("\u8377\u82b1 lotus"),
                                QStringLiteral("x"),
                                QStringLiteral("\U0001F33C daisy"),
                                QStringLiteral("odd"),
                                QStringLiteral("\u0141\u00f3d\u017a")};
    RecordTexts texts(2);
    for (const QString& value : values)
        AddUtf8(texts, value);
    texts.Add(QStringLiteral("\u20ac sign"));
    texts.Add(QStringLiteral("plain"));
    texts.Finish();
    ASSERT_EQ(texts.Records(), 5u);
    for (int i = 0; i < values.size(); ++i) {
        EXPECT_EQ(texts.Text(std::size_t(i / 2), i % 2), values[i]) << i;
        EXPECT_EQ(texts.View(std::size_t(i / 2), i % 2).size(), values[i].size()) << i;
    }
    EXPECT_EQ(texts.Text(4, 0), QStringLiteral("\u20ac sign"));
    EXPECT_EQ(texts.Text(4, 1), QStringLiteral("plain"));
    EXPECT_TRUE(texts.Text(5, 0).isNull()) << "past the last record";
    EXPECT_TRUE(texts.Text(0, 2).isNull()) << "past the last column";
}

TEST(RecordTextsTest, CellsLongerThanABlockAndManyBlocksReadBack) {
    // A table may hold a text of any length, whatever its column declares.
    RecordTexts texts(1);
    const QString longWide = QString(700000, QChar(0x8377)) + u'!';
    const QString longNarrow(3 << 20, u'x');
    AddUtf8(texts, QStringLiteral("before"));
    AddUtf8(texts, longWide);
    texts.Add(longNarrow);
    // Enough short cells to fill several blocks.
    for (int i = 0; i < 400000; ++i)
        AddUtf8(texts, QStringLiteral("cell %1").arg(i));
    texts.Finish();
    EXPECT_EQ(texts.Text(0, 0), QStringLiteral("before"));
    EXPECT_EQ(texts.Text(1, 0), longWide);
    EXPECT_EQ(texts.Text(2, 0), longNarrow);
    EXPECT_EQ(texts.Text(3, 0), QStringLiteral("cell 0"));
    EXPECT_EQ(texts.Text(400002, 0), QStringLiteral("cell 399999"));
    // A copy shares what it holds and reads the same.
    const RecordTexts copy = texts;
    EXPECT_EQ(copy.Text(200000, 0), QStringLiteral("cell 199997"));
}

TEST(RecordTextsTest, RepeatedValuesAreHeldOnceAndAColumnOfManyStopsSharing) {
    RecordTexts texts(2);
    for (int i = 0; i < 100; ++i) {
        AddUtf8(texts, QStringLiteral("border"));
        AddUtf8(texts, QStringLiteral("Description %1").arg(i));
    }
    EXPECT_EQ(texts.Place(0, 0), texts.Place(99, 0));
    EXPECT_NE(texts.Place(0, 1), texts.Place(99, 1));
    // A value seen after the column stopped sharing is held again, and still reads right.
    AddUtf8(texts, QStringLiteral("header"));
    AddUtf8(texts, QStringLiteral("Description 3"));
    EXPECT_NE(texts.Place(100, 1), texts.Place(3, 1));
    EXPECT_EQ(texts.Text(100, 1), texts.Text(3, 1));
    EXPECT_EQ(texts.Text(100, 0), QStringLiteral("header"));
}

TEST(RecordTextsTest, ReorderMovesEveryCellWithItsRecord) {
    RecordTexts texts(2);
    for (int i = 0; i < 4; ++i) {
        AddUtf8(texts, QStringLiteral("F%1").arg(i));
        AddUtf8(texts, QStringLiteral("\u00e9 %1").arg(i));
    }
    texts.Reorder({3, 0, 2, 1});
    EXPECT_EQ(texts.Text(0, 0), QStringLiteral("F3"));
    EXPECT_EQ(texts.Text(0, 1), QStringLiteral("\u00e9 3"));
    EXPECT_EQ(texts.Text(1, 0), QStringLiteral("F0"));
    EXPECT_EQ(texts.Text(3, 1), QStringLiteral("\u00e9 1"));
}

TEST(RecordTextsTest, ACatalogueRecordTakesLittleMoreThanItsCharacters) {
    // A file name, a description and a category, as a catalogue has them.
    RecordTexts texts(3);
    std::size_t characters = 0;
    constexpr int kRecords = 20000;
    for (int i = 0; i < kRecords; ++i) {
        const QString name = QStringLiteral("P%1.BMP").arg(i, 6, 10, QLatin1Char('0'));
        const QString description =
            QStringLiteral("Gold border on a white ground, number %1").arg(i);
        AddUtf8(texts, name);
        AddUtf8(texts, description);
        AddUtf8(texts, QStringLiteral("border"));
        characters += std::size_t(name.size() + description.size());
    }
    texts.Finish();
    // One byte a character, one length byte and one 4-byte place a cell: the category once.
    EXPECT_LE(texts.MemoryBytes(), characters + kRecords * (2 + 3 * 4) + 64);
}

} // namespace
