// SPDX-License-Identifier: MIT
// The find index: folding and words, the one-edit rule, the order of the answers, and the
// index against a plain reading of the same rules over random texts.
#include "data/find_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using data::FindIndex;
using Match = FindIndex::Match;

namespace {

FindIndex Indexed(const QStringList& texts) {
    FindIndex index;
    for (int i = 0; i < texts.size(); ++i)
        index.Add(std::uint32_t(i), texts[i]);
    index.Finish();
    return index;
}

std::vector<FindIndex::Hit> Hits(std::initializer_list<std::pair<std::uint32_t, Match>> hits) {
    std::vector<FindIndex::Hit> out;
    for (auto [record, how] : hits)
        out.push_back({record, how});
    return out;
}

// The optimal string alignment distance, the textbook table: the reference for one edit.
int Distance(const QString& a, const QString& b) {
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (int i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (int j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (int i = 1; i <= a.size(); ++i)
        for (int j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

} // namespace

TEST(FindWords, FoldingTakesOffAccentsAndCaseAndWordsSplitLettersFromDigits) {
    EXPECT_EQ(data::FoldForFind(QString::fromUtf8("Ballón ÉTÉ Straße")),
              QString::fromUtf8("ballon ete strasse"));
    EXPECT_EQ(data::FindWords("balloon1.wmf"), (QStringList{"balloon", "1", "wmf"}));
    EXPECT_EQ(data::FindWords("flower-pot, with  tulips!"),
              (QStringList{"flower", "pot", "with", "tulips"}));
    EXPECT_TRUE(data::FindWords(QString::fromUtf8("\u00A0 -- \U0001F600 ..")).isEmpty());
    EXPECT_TRUE(data::FindWords({}).isEmpty());
}

TEST(FindWords, OneEditIsAnInsertADeleteAReplaceOrASwapOfNeighbours) {
    for (auto [a, b] : {std::pair{"tulips", "tulipss"},
                        {"tulips", "tuips"},
                        {"tulips", "tulipz"},
                        {"tulips", "tulpis"},
                        {"tulips", "tulips"},
                        {"", "a"},
                        {"ab", "ba"}})
        EXPECT_TRUE(data::WithinOneEdit(QString(a), QString(b))) << a << " " << b;
    for (auto [a, b] : {std::pair{"tulips", "tlpis"},
                        {"tulips", "tulipsss"},
                        {"abc", "cba"},
                        {"abcd", "badc"},
                        {"", "ab"}})
        EXPECT_FALSE(data::WithinOneEdit(QString(a), QString(b))) << a << " " << b;
}

TEST(FindIndex, AnswersBestFirstInRecordOrderAndForgivesOnlyLongerWords) {
    const FindIndex index = Indexed({
        "BALLOON1.WMF Red balloons on a string", // 0
        "TULIPS.BMP Flower pot with tulips",     // 1
        "POT.JPG A flower pot",                  // 2
        "BALL.GIF A ball",                       // 3
        QString::fromUtf8("CAFE.PNG Caf\u00E9 au lait"),
    });
    EXPECT_EQ(index.Find("baloons"), Hits({{0, Match::Typo}})) << "a letter left out";
    EXPECT_EQ(index.Find("tulips pot"), Hits({{1, Match::Equal}})) << "every word, any order";
    EXPECT_EQ(index.Find("POT"), Hits({{1, Match::Equal}, {2, Match::Equal}}));
    EXPECT_EQ(index.Find("ball"), Hits({{3, Match::Equal}, {0, Match::Start}}));
    EXPECT_EQ(index.Find("bal"), Hits({{0, Match::Start}, {3, Match::Start}}));
    EXPECT_EQ(index.Find("red ball"), Hits({{0, Match::Start}})) << "the weakest word counts";
    EXPECT_EQ(index.Find("stirn"), Hits({{0, Match::Typo}})) << "a swap in the word's start";
    EXPECT_EQ(index.Find("tulpis"), Hits({{1, Match::Typo}}));
    EXPECT_EQ(index.Find(QString::fromUtf8("FLOW\u00C9R")),
              Hits({{1, Match::Equal}, {2, Match::Equal}}))
        << "accents and case do not count";
    EXPECT_EQ(index.Find("cafe"), Hits({{4, Match::Equal}}));
    EXPECT_TRUE(index.Find("bsl").empty()) << "three letters are not forgiven";
    EXPECT_TRUE(index.Find("tulips balloons").empty());
    EXPECT_TRUE(index.Find("  ,. ").empty()) << "no words, no answer";
    const std::vector<bool> within{false, false, true, false, false};
    EXPECT_EQ(index.Find("pot", &within), Hits({{2, Match::Equal}})) << "within the tab and search";
    const std::vector<bool> shorter{true};
    EXPECT_TRUE(index.Find("pot", &shorter).empty()) << "a record past the flags is outside";
    EXPECT_EQ(index.Records(), 5u);
}

TEST(FindIndex, AgreesWithAPlainReadingOfTheRulesOverRandomTexts) {
    std::mt19937 random(7);
    auto word = [&](int longest) {
        QString w;
        const int n = 1 + int(random() % unsigned(longest));
        for (int i = 0; i < n; ++i)
            w += QChar(u'a' + char16_t(random() % 4));
        return w;
    };
    QStringList texts;
    for (int r = 0; r < 400; ++r) {
        QStringList words;
        for (int i = int(random() % 4); i > 0; --i)
            words << word(7);
        texts << words.join(u' ');
    }
    const FindIndex index = Indexed(texts);
    // Built in parts on threads and appended, it is the same index.
    std::vector<FindIndex> parted;
    for (int parts : {2, 3, 7})
        parted.push_back(FindIndex::BuildInParts(
            std::uint32_t(texts.size()),
            [&](FindIndex& into, std::uint32_t r) { into.Add(r, texts[int(r)]); }, parts));
    for (const FindIndex& other : parted) {
        EXPECT_EQ(other.Words(), index.Words());
        EXPECT_EQ(other.Records(), index.Records());
    }
    for (int q = 0; q < 300; ++q) {
        QStringList query{word(6)};
        if (q % 3 == 0)
            query << word(5);
        std::vector<FindIndex::Hit> expected;
        for (int r = 0; r < texts.size(); ++r) {
            const QStringList words = texts[r].split(u' ', Qt::SkipEmptyParts);
            int weakest = 0;
            for (const QString& qw : query) {
                int best = 3;
                for (const QString& w : words) {
                    if (w == qw)
                        best = std::min(best, 0);
                    else if (w.startsWith(qw))
                        best = std::min(best, 1);
                    else if (qw.size() >= 4 &&
                             (Distance(qw, w) <= 1 ||
                              (w.size() > qw.size() && Distance(qw, w.left(qw.size())) <= 1)))
                        best = std::min(best, 2);
                }
                weakest = std::max(weakest, best);
            }
            if (weakest < 3)
                expected.push_back({std::uint32_t(r), Match(weakest)});
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.How < b.How; });
        ASSERT_EQ(index.Find(query.join(u' ')), expected) << query.join(u' ').toStdString();
        for (const FindIndex& other : parted)
            ASSERT_EQ(other.Find(query.join(u' ')), expected) << query.join(u' ').toStdString();
    }
    // A part without a single word, and records past the last word, are still counted.
    const FindIndex sparse = FindIndex::BuildInParts(
        10, [](FindIndex& into, std::uint32_t r) { into.Add(r, r == 2 ? "tulip" : ""); }, 4);
    EXPECT_EQ(sparse.Records(), 10u);
    EXPECT_EQ(sparse.Find("tulip"), (std::vector<FindIndex::Hit>{{2, FindIndex::Match::Equal}}));
}
