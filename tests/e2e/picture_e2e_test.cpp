// SPDX-License-Identifier: MIT
// The real program under Xvfb, walked as a person would: the navigator, a tab, a search. On
// every step the picture on the screen is compared with the record's file decoded by
// ImageMagick and fitted the same way.
#include "tests/e2e/main_window_screen.h"
#include "tests/e2e/main_window_session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using main_window_screen::Expected;
using main_window_screen::Fitted;
using main_window_screen::Mismatch;

struct Record {
    QString file, description, category;
};

// The sample collection's records in catalogue order, from the builder's manifest.
std::vector<Record> Manifest() {
    std::vector<Record> records;
    QFile file(QStringLiteral(VLMOR_SAMPLES_DIR "/manifest.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype first = line.indexOf(u','), last = line.lastIndexOf(u',');
        records.push_back(
            {line.left(first), line.mid(first + 1, last - first - 1), line.mid(last + 1)});
    }
    return records;
}

// The raster kinds ImageMagick reads as the engine does.
bool Comparable(const QString& file) {
    for (const char* ext : {".BMP", ".PNG", ".JPG", ".TIF", ".PCX", ".GIF", ".TGA"})
        if (file.endsWith(QLatin1String(ext)))
            return true;
    return false;
}

class PictureWalk : public MainWindowSession {
protected:
    void SetUp() override {
        records = Manifest();
        ASSERT_GT(records.size(), 100u);
        Launch(QStringLiteral("Picture Walk"));
    }
    void Click(int wx, int wy) { MainWindowSession::Click({wx, wy}); }
    // The screen shows the record's picture; a slow (sanitizer) build is given a few seconds
    // to get there, the screenshot of the last look is kept under `shot`.
    void ExpectShown(const QString& shot, const Record& r) {
        SCOPED_TRACE(r.file.toStdString());
        const Fitted expected = Expected(QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/") + r.file);
        ASSERT_FALSE(expected.image.isNull());
        double mismatch = 1;
        for (int look = 0; look < 20 && mismatch >= 0.01; ++look) {
            if (look > 0)
                QThread::msleep(250);
            mismatch = Mismatch(Shot(shot), expected);
        }
        EXPECT_LT(mismatch, 0.01);
    }

    std::vector<Record> records;
};

} // namespace

TEST_F(PictureWalk, EachRecordsPictureIsTheOneShown) {
    // The first twenty records (the borders, one of each format) with the navigator's Next.
    ExpectShown("walk-00.png", records[0]);
    int compared = 1;
    for (int i = 1; i < 20; ++i) {
        Click(133, 458);
        const QString shot = QStringLiteral("walk-%1.png").arg(i, 2, 10, QLatin1Char('0'));
        if (Comparable(records[std::size_t(i)].file)) {
            ExpectShown(shot, records[std::size_t(i)]);
            ++compared;
        } else {
            Shot(shot);
        }
    }
    EXPECT_GE(compared, 15);
    // A picture is not the next one's: the check tells them apart.
    const Fitted other = Expected(QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/") + records[0].file);
    EXPECT_GT(Mismatch(Shot("walk-last.png"), other), 0.1);

    // The Letter tab shows its first record; a search narrows it to the letters with "star".
    Click(307, 80);
    const Record* letter = nullptr;
    const Record* starLetter = nullptr;
    for (const Record& r : records) {
        if (r.category != QLatin1String("letter"))
            continue;
        if (!letter)
            letter = &r;
        if (!starLetter && r.description.contains(QLatin1String("star"), Qt::CaseInsensitive))
            starLetter = &r;
    }
    ASSERT_TRUE(letter && starLetter);
    ExpectShown("walk-letter.png", *letter);
    Click(130, 251);
    x.Xdo({"type", "star"});
    x.Xdo({"key", "Return"});
    Click(307, 80);
    ExpectShown("walk-letter-star.png", *starLetter);
}
