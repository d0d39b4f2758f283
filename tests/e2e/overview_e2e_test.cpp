// SPDX-License-Identifier: MIT
// The overview in the real program under Xvfb, used as a person would: Ctrl+G shows the tab's
// pictures as tiles (each compared with ImageMagick's decoding, Ghostscript's rendering or our
// metafile player's drawing, fitted the same way), the tabs refill it, a click and Enter show a
// record, find forgives a typo, the keyboard walks it, and its disk cache survives a restart,
// a damaged file and a rewritten catalogue.
#include "imaging/metafile/metafile.h"
#include "tests/e2e/main_window_screen.h"
#include "tests/e2e/main_window_session.h"
#include "tests/engines/picture_tools.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kSide = 128; // the tiles' default size
constexpr int kCellWidth = kSide + 12;
constexpr int kColumns = 4; // in the 640-pixel window

QString Sample(const QString& file) {
    return QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/") + file;
}

// A picture fitted into a tile's square as the overview fits it (proportions kept, made
// smaller by averaging, centred), over the tile's background.
QImage TileOf(const QImage& picture, QRgb background) {
    QImage out(kSide, kSide, QImage::Format_RGB32);
    out.fill(background);
    if (picture.isNull())
        return out; // an empty cell
    const QSizeF shown = QSizeF(picture.size()).scaled(QSizeF(kSide, kSide), Qt::KeepAspectRatio);
    const QImage scaled =
        picture.scaled(shown.toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&out);
    painter.drawImage(QPointF((kSide - shown.width()) / 2, (kSide - shown.height()) / 2), scaled);
    return out;
}

QImage MetafileTile(const QString& file, QRgb background) {
    imaging::Metafile drawing;
    if (!drawing.Load(picture_tools::ReadAll(file), 96))
        return {};
    QImage out(kSide, kSide, QImage::Format_RGB32);
    out.fill(background);
    const QSizeF shown = QSizeF(drawing.Size()).scaled(QSizeF(kSide, kSide), Qt::KeepAspectRatio);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawing.Play(painter,
                 QRectF(QPointF((kSide - shown.width()) / 2, (kSide - shown.height()) / 2), shown));
    return out;
}

// The share of pixels of two images of one size that clearly differ.
double Off(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || b.isNull())
        return 1; // a screen that was not there differs wholly
    int off = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            off += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))}) > 48;
        }
    return double(off) / (b.width() * b.height());
}

class OverviewWalk : public MainWindowSession {
protected:
    void SetUp() override {
        cache = dir.filePath("cache");
        Start();
    }
    void Start() {
        Launch(QStringLiteral("Overview Walk"),
               {"XDG_CACHE_HOME=" + cache, "XDG_CONFIG_HOME=" + dir.filePath("config")});
    }
    void Restart() {
        process->terminate();
        process->waitForFinished(5000);
        process.reset();
        Start();
    }
    void Key(const char* key) { x.Xdo({"key", key}); }
    void Overview() {
        Click({420, 300}); // the picture: the window has the keyboard
        Key("ctrl+g");
        Settled("overview-entered.png", Raster("BORD02.PNG"), Raster("BORD05.BMP"));
    }
    // Once the grid shows these as its second and fifth tiles.
    void Settled(const QString& shot, const QImage& second, const QImage& fifth) {
        for (int look = 0; look < 20; ++look) {
            QThread::msleep(250);
            if (FindGrid(Shot(shot), second, fifth))
                return;
        }
        FAIL() << "the grid's tiles did not show in " << shot.toStdString();
    }
    // Where the grid lies: the second tile (not current, on white) is looked for around where
    // the layout puts it, the fifth (the next row) below it; the current tile's highlight is
    // read from the first cell's corner.
    bool FindGrid(const QImage& shot, const QImage& second, const QImage& fifth) {
        auto near = [&](QPoint guess, QSize range, const QImage& tile) {
            QPoint best;
            double least = 2;
            for (int dy = 0; dy <= range.height(); ++dy)
                for (int dx = -range.width(); dx <= range.width(); ++dx) {
                    const QPoint at = guess + QPoint(dx, dy);
                    const double off = Off(shot.copy(QRect(at, tile.size())), tile);
                    if (off < least) {
                        least = off;
                        best = at;
                    }
                }
            return least < 0.2 ? std::optional<QPoint>(best) : std::nullopt;
        };
        const std::optional<QPoint> one = near({153, 100}, {16, 60}, second);
        if (!one)
            return false;
        const std::optional<QPoint> four =
            near(*one + QPoint(-kCellWidth, kSide + 10), {2, 50}, fifth);
        if (!four)
            return false;
        cell0 = QRect(*one - QPoint(kCellWidth + 6, 6), QSize(kCellWidth, four->y() - one->y()));
        highlight = shot.pixel(cell0.left() + 5, cell0.bottom() - 5);
        return true;
    }
    QRect Cell(int k) const {
        return cell0.translated((k % kColumns) * kCellWidth, (k / kColumns) * cell0.height());
    }
    QImage Square(const QImage& shot, int k) const {
        const QRect cell = Cell(k);
        return shot.copy(cell.left() + 6, cell.top() + 6, kSide, kSide);
    }
    // The tile k on the screen matches `expected` (a slow build is given a few seconds).
    void ExpectTile(int k, const QImage& expected, const QString& shot, double tolerance = 0.03) {
        ASSERT_FALSE(expected.isNull());
        double least = 1;
        QImage best;
        for (int look = 0; look < 20 && least >= tolerance; ++look) {
            if (look > 0)
                QThread::msleep(250);
            const QImage screen = Shot(shot);
            // One pixel either way: the centring rounds.
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRect cell = Cell(k);
                    const QImage here =
                        screen.copy(cell.left() + 6 + dx, cell.top() + 6 + dy, kSide, kSide);
                    const double off = Off(here, expected);
                    if (off < least) {
                        least = off;
                        best = here;
                    }
                }
        }
        EXPECT_LT(least, tolerance) << "tile " << k << " in " << shot.toStdString();
        if (least >= tolerance) {
            // Both kept beside the screenshots, to see what differs.
            const QString stem =
                QDir(VLMOR_SHOTS_DIR)
                    .filePath(
                        QStringLiteral("%1-tile%2").arg(QFileInfo(shot).completeBaseName()).arg(k));
            best.save(stem + "-shown.png");
            expected.save(stem + "-expected.png");
        }
    }
    QImage Raster(const QString& file, QRgb background = qRgb(255, 255, 255)) {
        const QString path = Sample(file);
        return TileOf(file.endsWith(".PCX") ? picture_tools::NetpbmPcxPixels(path)
                                            : picture_tools::ImageMagickPixels(path, "[0]"),
                      background);
    }
    QByteArray CacheHead() {
        const QStringList files =
            QDir(cache + "/vellamore").entryList({"*.thumbs.db"}, QDir::Files);
        if (files.size() != 1)
            return {};
        QFile file(cache + "/vellamore/" + files.first());
        return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
    }
    QString CacheFile() {
        const QStringList files =
            QDir(cache + "/vellamore").entryList({"*.thumbs.db"}, QDir::Files);
        return files.size() == 1 ? cache + "/vellamore/" + files.first() : QString();
    }

    // The single view shows the record's picture (a slow build is given a few seconds).
    void ExpectShownInView(const QString& file, const QString& shot) {
        const main_window_screen::Fitted expected = main_window_screen::Expected(Sample(file));
        double mismatch = 1;
        for (int look = 0; look < 20 && mismatch >= 0.01; ++look) {
            QThread::msleep(look ? 250 : 0);
            mismatch = main_window_screen::Mismatch(Shot(shot), expected);
        }
        EXPECT_LT(mismatch, 0.01) << file.toStdString();
    }

    QString cache;
    QRect cell0;
    QRgb highlight = 0;
};

} // namespace

TEST_F(OverviewWalk, TilesAreTheTabsPicturesAndAClickWithEnterShowsOne) {
    Overview();
    // The first record is current: its tile shows over the highlight.
    ExpectTile(0, Raster("BORD01.BMP", highlight), "overview-all.png");
    const char* rest[] = {"BORD02.PNG", "BORD03.BMP", "BORD04.JPG", "BORD05.BMP",
                          "BORD06.BMP", "BORD07.TIF", "BORD08.PCX"};
    for (int k = 1; k <= 7; ++k)
        ExpectTile(k, Raster(rest[k - 1]), "overview-all.png");

    // The Letter tab refills the grid with its records.
    Click({307, 80});
    Settled("overview-letter.png", Raster("LETTER_B.PNG"), Raster("LETTER_E.BMP"));
    ExpectTile(0, Raster("LETTER_A.BMP", highlight), "overview-letter.png");
    ExpectTile(1, Raster("LETTER_B.PNG"), "overview-letter.png");

    // A click makes the third letter current; Enter shows it in the picture view.
    Click(Cell(2).center());
    Key("Return");
    QThread::msleep(300);
    ExpectShownInView("LETTER_C.BMP", "overview-shown.png");
}

TEST_F(OverviewWalk, FindForgivesATypoAndTheKeyboardWalksTheGrid) {
    Overview();
    Click({300, 108}); // the find box
    x.Xdo({"type", "--delay", "60", "baloons"});
    QThread::msleep(400);
    const QRgb white = qRgb(255, 255, 255);
    ExpectTile(0, MetafileTile(Sample("BALLOON1.WMF"), white), "overview-find-typo.png");
    // One hit: the second cell is empty.
    EXPECT_LT(Off(Square(Shot("overview-find-typo.png"), 1), TileOf(QImage(), white)), 0.001);

    Key("ctrl+a");
    x.Xdo({"type", "--delay", "60", "tulips pot"});
    QThread::msleep(400);
    ExpectTile(0, TileOf(picture_tools::GhostscriptPixels(Sample("TULIPS.EPS")), white),
               "overview-find-words.png", 0.05);
    EXPECT_LT(Off(Square(Shot("overview-find-words.png"), 1), TileOf(QImage(), white)), 0.001);

    // Cleared: every record again in its order; Down goes into the grid at the current
    // record, the arrows walk it and Enter shows the one reached.
    Key("ctrl+a");
    Key("BackSpace");
    QThread::msleep(300);
    ExpectTile(1, Raster("BORD02.PNG"), "overview-find-cleared.png");
    Key("Down");
    Key("Right");
    Key("Right");
    Key("Down");
    Key("Return");
    QThread::msleep(300);
    ExpectShownInView("BORD07.TIF", "overview-keys-shown.png");

    // Typing the start of a file name jumps to it.
    Key("ctrl+g");
    QThread::msleep(300);
    x.Xdo({"type", "--delay", "40", "ORN0"});
    Key("Return");
    QThread::msleep(300);
    ExpectShownInView("ORN01.BMP", "overview-typed-shown.png");
}

TEST_F(OverviewWalk, TheDiskCacheSurvivesARestartAndIsRemadeWhenDamagedOrRewritten) {
    Overview();
    ExpectTile(1, Raster("BORD02.PNG"), "overview-cache-first.png");
    QThread::msleep(500); // the cache writes when its thread is idle
    const QByteArray first = CacheHead();
    ASSERT_EQ(first.size(), 64);
    EXPECT_FALSE(first.startsWith("SQLite format 3")); // encrypted: only the key reads it

    // A restart keeps the file (its random salt, the first 16 bytes, stays) and shows the tiles.
    Restart();
    ASSERT_FALSE(HasFatalFailure()) << "the program came back";
    Overview();
    ExpectTile(1, Raster("BORD02.PNG"), "overview-cache-restarted.png");
    EXPECT_EQ(CacheHead().left(16), first.left(16));

    // Damaged pages: the file is remade (a new salt) and the tiles are right.
    process->terminate();
    process->waitForFinished(5000);
    {
        QFile file(CacheFile());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        for (qint64 page = 4096; page + 512 < file.size(); page += 4096) {
            file.seek(page + 64);
            file.write(QByteArray(400, '\x5a'));
        }
    }
    Start();
    ASSERT_FALSE(HasFatalFailure()) << "the program came back";
    Overview();
    ExpectTile(1, Raster("BORD02.PNG"), "overview-cache-damaged.png");
    ExpectTile(5, Raster("BORD06.BMP"), "overview-cache-damaged.png");
    QThread::msleep(500);
    const QByteArray remade = CacheHead();
    EXPECT_NE(remade.left(16), first.left(16));

    // The catalogue rewritten in its place: its old tiles are not trusted.
    process->terminate();
    process->waitForFinished(5000);
    {
        QFile catalogue(dir.filePath("vlmor.db"));
        ASSERT_TRUE(catalogue.open(QIODevice::ReadWrite));
        ASSERT_TRUE(catalogue.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                          QFileDevice::FileModificationTime));
    }
    Start();
    ASSERT_FALSE(HasFatalFailure()) << "the program came back";
    Overview();
    ExpectTile(1, Raster("BORD02.PNG"), "overview-cache-rewritten.png");
    QThread::msleep(500);
    EXPECT_NE(CacheHead().left(16), remade.left(16));
}
