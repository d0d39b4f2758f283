// SPDX-License-Identifier: MIT
// The two credit-message layouts: tagged scrolling messages and line-based credit boxes.
#include "imaging/credit/credit_message.h"
#include "platform/core/errors.h"
#include "tests/support/qt_printers.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imaging;

namespace {

struct Scm {
    MessageFont font;
    int speed = 99;
    QString text;
    std::uint32_t background = 7;
    void Parse(const QByteArray& bytes) {
        QBuffer buffer;
        buffer.setData(bytes);
        ASSERT_TRUE(ParseScrollingMessage(buffer, font, &speed, &text, &background));
    }
};

TEST(ScrollingMessage, OnlyTheMessageTagsGiveTheDefaultsAndKeepSizeAndStyle) {
    Scm m;
    m.font.SetSize(20);
    m.font.Bold = true;
    const int height = m.font.Height;
    m.Parse("belisqor /sm|Thanks for watching/eo|");
    EXPECT_EQ(m.text, "Thanks for watching");
    EXPECT_EQ(m.font.Colour, 255u);
    EXPECT_EQ(m.font.Height, -13) << "the height pair is missing: its default";
    EXPECT_EQ(m.font.Name, "SYSTEM");
    EXPECT_TRUE(m.font.Bold) << "style stays";
    EXPECT_NE(height, -13);
    EXPECT_EQ(m.background, 128u);
    EXPECT_EQ(m.speed, 1);
}

TEST(ScrollingMessage, EveryFieldAndTheEmptyAndReversedCases) {
    Scm m;
    m.Parse("belisqor/fc|$FF00/fh|-20/fn|Arial/fs|/ft|01/bc|16777215/sp|4/sm|Hello/eo|");
    EXPECT_EQ(m.font.Colour, 0xFF00u);
    EXPECT_EQ(m.font.Height, -20) << "an empty size changes nothing";
    EXPECT_EQ(m.font.Name, "Arial");
    EXPECT_FALSE(m.font.Bold);
    EXPECT_TRUE(m.font.Italic) << "\"01\" is italic only";
    EXPECT_FALSE(m.font.Underline);
    EXPECT_EQ(m.background, 0xFFFFFFu);
    EXPECT_EQ(m.speed, 4);
    EXPECT_EQ(m.text, "Hello");

    // "/fh|" right behind "/fc|": the colour is unchanged; a size decides the height.
    Scm n;
    n.font.Colour = 0x123456;
    n.Parse("/fc|/fh|-9/fn|Times/fs|12/ft|1111/bc|0/sp|2/sm|x/eo|");
    EXPECT_EQ(n.font.Colour, 0x123456u);
    EXPECT_EQ(n.font.Size(), 12);
    EXPECT_EQ(n.font.Height, -16);
    EXPECT_TRUE(n.font.Bold && n.font.Italic && n.font.Underline && n.font.StrikeOut);

    // A present but empty style sets every flag off; tags out of order give empty values.
    Scm o;
    o.font.Bold = o.font.Italic = true;
    o.text = "kept";
    o.Parse("/eo|/sm|text/ft|/bc|");
    EXPECT_FALSE(o.font.Bold || o.font.Italic);
    EXPECT_EQ(o.text, "kept") << "\"/eo|\" before \"/sm|\": an empty value changes nothing";
}

TEST(ScrollingMessage, MissingMessageNumbersZeroBytesAndFiles) {
    Scm m;
    m.Parse("belisqor /fc|12/fh|");
    EXPECT_EQ(m.text, " Invallid message format ! ");
    EXPECT_EQ(m.font.Colour, 12u);

    Scm z;
    z.Parse(QByteArray("/sm|before\0/eo|", 15));
    EXPECT_EQ(z.text, " Invallid message format ! ") << "the text ends at its zero byte";

    Scm bad;
    try {
        bad.Parse("/fc|red/fh|-20/fn|");
        FAIL() << "a colour that is no number";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "'red' is not a valid integer value");
    }

    MessageFont font;
    font.Colour = 5;
    int speed = 3;
    QString text = "kept";
    std::uint32_t background = 9;
    EXPECT_FALSE(ParseScrollingMessage("/no/such/file.scm", font, &speed, &text, &background));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(font.Colour, 5u);
}

struct Cms {
    MessageFont font;
    int speed = 0;
    QStringList lines{"old"};
    std::uint32_t background = 0;
    void Parse(const QByteArray& bytes) {
        QBuffer buffer;
        buffer.setData(bytes);
        ParseCreditMessage(buffer, font, &speed, &lines, &background);
    }
};

TEST(CreditMessage, HeaderLinesAndCreditLinesWithEitherLineEnd) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(end);
        QByteArray text;
        for (const char* line : {"qorbelis", "$0000FF", "-15", "Arial", "10", "1010", "$808080",
                                 "3", "Produced by", "", "The Team"})
            text += QByteArray(line) + end;
        Cms c;
        c.Parse(text);
        EXPECT_EQ(c.font.Colour, 0xFFu);
        EXPECT_EQ(c.font.Name, "Arial");
        EXPECT_EQ(c.font.Size(), 10);
        EXPECT_TRUE(c.font.Bold && !c.font.Italic && c.font.Underline && !c.font.StrikeOut);
        EXPECT_EQ(c.background, 0x808080u);
        EXPECT_EQ(c.speed, 3);
        EXPECT_EQ(c.lines, QStringList({"Produced by", "", "The Team"}));
    }
}

TEST(CreditMessage, EightLinesGiveNoCreditsFewerFailAndTheTextIsCut) {
    Cms c;
    c.Parse("qorbelis\n1\n-12\nX\n9\n0\n2\n5\n");
    EXPECT_TRUE(c.lines.isEmpty()) << "cleared first, nothing added";
    try {
        Cms d;
        d.Parse("qorbelis\n1\n-12\nX\n9\n0\n2");
        FAIL() << "seven lines";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (7)");
    }
    // Bytes past 65526 are not read.
    const QByteArray header = "qorbelis\n1\n-12\nX\n9\n0\n2\n5\n";
    const QByteArray text = header + QByteArray(65526 - header.size() - 1, 'a') + "\nlost";
    Cms e;
    e.Parse(text);
    ASSERT_EQ(e.lines.size(), 1);
    EXPECT_EQ(e.lines[0].size(), 65526 - header.size() - 1) << "the last line break is read";
}

TEST(CreditMessage, IntegerConversionAndLineSplitting) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -7"), -7);
    EXPECT_EQ(StrToInt("$80000005"), int(0x80000005u)) << "system colours";
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    for (const char* bad : {"", " ", "12a", "$", "2147483648", "1 ", "$1FFFFFFFF"})
        EXPECT_THROW(StrToInt(bad), platform::Exception) << bad;
    EXPECT_EQ(SplitLines("a\r\nb\n\nc\r"), QStringList({"a", "b", "", "c"}));
    EXPECT_EQ(SplitLines("\r\r"), QStringList({"", ""}));
    EXPECT_TRUE(SplitLines("").isEmpty());
}

} // namespace
