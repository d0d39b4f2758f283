// SPDX-License-Identifier: MIT
#include "platform/core/text_case.h"

#include <QLatin1StringView>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using platform::UpperCase;
using platform::UpperCaseContains;

TEST(TextCaseTest, OnlyTheLettersAToZChangeCase) {
    EXPECT_EQ(UpperCase(QStringLiteral("caf\u00e9 z{a`")), QStringLiteral("CAF\u00e9 Z{A`"));
    EXPECT_EQ(platform::LowerCase(QStringLiteral("CAF\u00c9 Z[A@")),
              QStringLiteral("caf\u00c9 z[a@"));
}

// The search's test without its copies must answer as the upper case of the text searched
// would: on one-byte and two-byte texts, at their ends, with repeated starts.
TEST(TextCaseTest, UpperCaseContainsAnswersAsTheUpperCaseCopyWould) {
    const QString alphabet = QStringLiteral("aAbBz\u00e9\u00c9 r\u8377");
    QRandomGenerator random(7);
    for (int round = 0; round < 4000; ++round) {
        QString text, needle;
        for (int i = int(random.bounded(12)); i > 0; --i)
            text += alphabet[int(random.bounded(int(alphabet.size())))];
        for (int i = int(random.bounded(4)); i > 0; --i)
            needle += alphabet[int(random.bounded(int(alphabet.size())))];
        const QString upper = UpperCase(needle);
        const bool expected = UpperCase(text).contains(upper);
        EXPECT_EQ(UpperCaseContains(text, upper), expected) << qPrintable(text + u'|' + upper);
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; })) {
            const QByteArray latin1 = text.toLatin1();
            EXPECT_EQ(UpperCaseContains(QLatin1StringView(latin1), upper), expected);
        }
        EXPECT_EQ(UpperCaseContains(QUtf8StringView(text.toUtf8()), upper), expected);
    }
    EXPECT_TRUE(UpperCaseContains(QStringLiteral("rose"), QString())) << "nothing is in all";
    EXPECT_TRUE(UpperCaseContains(QLatin1StringView("a rosette"), u"ROSETTE"));
    EXPECT_FALSE(UpperCaseContains(QLatin1StringView("a roset"), u"ROSETTE"));
    EXPECT_FALSE(UpperCaseContains(QLatin1StringView("\xe9"), u"\u00c9")) << "accents keep case";
}

} // namespace
