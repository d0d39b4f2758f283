// SPDX-License-Identifier: MIT
// The real program under Xvfb, walked as a person would: the navigator, a tab, a search. On
// every step the picture on the screen is compared with the record's file decoded by
// ImageMagick and fitted the same way.
#include "tests/engines/picture_tools.h"
#include "tests/support/xvfb_session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

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

// Where the image view lies in the 640 x 480 main window: its outer size (the fit uses it)
// and its client area.
const QSize kControl(417, 340);
const QRect kClient(221, 138, 415, 338);

// The record's picture decoded by ImageMagick (netpbm for PCX) and fitted as the view fits it: the
// factor the smaller of the two ratios, each target pixel taking the source pixel it starts on,
// centred.
struct Fitted {
    QImage image;
    QPoint at; // in the main window
};
Fitted Expected(const QString& file) {
    // The first page of a TIFF; PCX through netpbm (ImageMagick inverts one-bit PCX files).
    const QImage picture = file.endsWith(QLatin1String(".PCX"))
                               ? picture_tools::NetpbmPcxPixels(file)
                               : picture_tools::ImageMagickPixels(file, QStringLiteral("[0]"));
    if (picture.isNull())
        return {};
    const double fx = double(kControl.width()) / picture.width();
    const double fy = double(kControl.height()) / picture.height();
    const double f = fy < fx ? fy : fx;
    const int w = int(picture.width() * f), h = int(picture.height() * f);
    QImage fitted(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            fitted.setPixel(x, y,
                            picture.pixel(int(std::int64_t(x) * picture.width() / w),
                                          int(std::int64_t(y) * picture.height() / h)));
    return {fitted,
            kClient.topLeft() + QPoint((kControl.width() - w) / 2, (kControl.height() - h) / 2)};
}

// The share of the fitted picture's pixels that the screen shows clearly otherwise.
double Mismatch(const QImage& window, const Fitted& expected) {
    int off = 0, compared = 0;
    for (int y = 0; y < expected.image.height(); ++y)
        for (int x = 0; x < expected.image.width(); ++x) {
            const QPoint p = expected.at + QPoint(x, y);
            if (!kClient.contains(p))
                continue;
            const QRgb a = window.pixel(p), b = expected.image.pixel(x, y);
            ++compared;
            off += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                             std::abs(qBlue(a) - qBlue(b))}) > 48;
        }
    return compared ? double(off) / compared : 1.0;
}

// The raster kinds ImageMagick reads as the engine does.
bool Comparable(const QString& file) {
    for (const char* ext : {".BMP", ".PNG", ".JPG", ".TIF", ".PCX", ".GIF", ".TGA"})
        if (file.endsWith(QLatin1String(ext)))
            return true;
    return false;
}

class PictureWalk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.Running());
        records = Manifest();
        ASSERT_GT(records.size(), 100u);
        program = MakeProgramDir(VLMOR_BIN_DIR, dir, "[Config]\nTitle=Picture Walk\n");
        process = x.Start(program);
        main = x.WaitForWindow("Picture Walk", 20000);
        ASSERT_TRUE(main.has_value());
        QThread::msleep(800);
    }
    void TearDown() override {
        if (process) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }
    QImage Shot(const QString& name) {
        return x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath(name)).copy(*main);
    }
    void Click(int wx, int wy) {
        x.Xdo({"mousemove", QString::number(main->x() + wx), QString::number(main->y() + wy),
               "click", "1"});
    }
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

    XvfbSession x;
    QTemporaryDir dir;
    QString program;
    std::unique_ptr<QProcess> process;
    std::optional<QRect> main;
    std::vector<Record> records;
};

} // namespace

TEST_F(PictureWalk, EachRecordsPictureIsTheOneShown) {
    QDir().mkpath(VLMOR_SHOTS_DIR);
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
