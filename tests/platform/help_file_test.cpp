// SPDX-License-Identifier: MIT
#include "platform/core/help_file.h"
#include "tests/support/qt_printers.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using platform::HelpDocument;

TEST(HelpFile, ParsesTopicsKeywordsAndLinks) {
    const auto file = HelpDocument::Parse("VELLAMORE-HELP 1\ntitle: Test\n== 1 | Start\n"
                                          "keywords: one; two ;\nSee {{7|the other}} page.\n"
                                          "More text.\n\n- a <b>\n- c\n== 7 | Other\nBody\n");
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->Title, "Test");
    ASSERT_EQ(file->Topics.size(), 2u);
    EXPECT_EQ(file->Topics[0].Keywords, QStringList({"one", "two"}));
    EXPECT_EQ(file->Topic(7)->Title, "Other");
    EXPECT_EQ(file->Topic(3), nullptr);
    const QString html = platform::TopicHtml(file->Topics[0]);
    EXPECT_TRUE(html.contains("<a href=\"topic:7\">the other</a>"));
    EXPECT_TRUE(html.contains("<p>See <a href=\"topic:7\">the other</a> page. More text.</p>"));
    EXPECT_TRUE(html.contains("<li>a &lt;b&gt;</li>")); // text is escaped
}

TEST(HelpFile, RefusesWhatIsNoHelpFile) {
    QString error;
    EXPECT_FALSE(HelpDocument::Parse("plain text", &error));
    EXPECT_EQ(error, "not a help file");
    EXPECT_FALSE(HelpDocument::Parse("VELLAMORE-HELP 1\n== x | Bad\n", &error));
    EXPECT_EQ(error, "line 2: a topic needs a number and a title");
    EXPECT_FALSE(HelpDocument::Parse("VELLAMORE-HELP 1\ntitle: none\n", &error));
    EXPECT_EQ(error, "the help file has no topics");
    EXPECT_FALSE(HelpDocument::Load("/nonexistent/Vlmor.hlp", &error));
    EXPECT_EQ(error, "Cannot open the help file /nonexistent/Vlmor.hlp");
}

TEST(HelpFile, TheProgramsHelpFileHasEveryNumberThePartsUseAndNoDeadLinks) {
    QString error;
    const auto file = HelpDocument::Load(VLMOR_SOURCE_DIR "/resources/help/vlmor_help.txt", &error);
    ASSERT_TRUE(file.has_value()) << error.toStdString();
    EXPECT_EQ(file->Topics.front().Context, 1);
    for (int context : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11})
        EXPECT_NE(file->Topic(context), nullptr) << context;
    static const QRegularExpression link("\\{\\{(\\d+)\\|");
    for (const auto& topic : file->Topics) {
        EXPECT_FALSE(topic.Keywords.isEmpty()) << topic.Title.toStdString();
        for (auto it = link.globalMatch(topic.Body); it.hasNext();)
            EXPECT_NE(file->Topic(it.next().captured(1).toInt()), nullptr);
    }
}
