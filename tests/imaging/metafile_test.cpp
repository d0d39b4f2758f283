// SPDX-License-Identifier: MIT
// The metafile player against independent tools: WMF files of our writer read by libwmf's
// wmf2svg and drawn by Qt's SVG renderer, EMF files written by libEMF checked pixel by pixel,
// and hostile files refused within limits.
#include "imaging/metafile/metafile.h"
#include "imaging/metafile/metafile_player.h"
#include "tests/engines/picture_tools.h"
#include "tests/imaging/emf_fixtures.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/emf_writer.h"
#include "tools/samples/vector_pictures.h"
#include "tools/samples/wmf_writer.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using imaging::Metafile;

namespace {

QImage Render(const QByteArray& bytes, QSize size, QString* error = nullptr, qreal ratio = 1.0) {
    Metafile m;
    EXPECT_TRUE(m.Load(bytes));
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter p(&image);
    QString problem;
    EXPECT_TRUE(m.Play(p, QRectF(QPointF(0, 0), QSizeF(size)), &problem)) << problem.toStdString();
    p.end();
    if (error)
        *error = problem;
    return image;
}

QColor At(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// How many pixels of the area have the colour.
int CountIn(const QImage& image, const QRect& area, const QColor& colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += At(image, x, y) == colour;
    return n;
}

// The share of pixels whose colours differ clearly, leaving out those within `margin` pixels
// of an edge of the reference (where two renderers may put a boundary a pixel apart).
double DisagreementAwayFromEdges(const QImage& reference, const QImage& ours, int margin) {
    const int w = reference.width(), h = reference.height();
    std::vector<char> near(std::size_t(w) * std::size_t(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = (x + 1 < w && reference.pixel(x, y) != reference.pixel(x + 1, y)) ||
                              (y + 1 < h && reference.pixel(x, y) != reference.pixel(x, y + 1));
            if (!edge)
                continue;
            for (int yy = std::max(0, y - margin); yy <= std::min(h - 1, y + margin + 1); ++yy)
                for (int xx = std::max(0, x - margin); xx <= std::min(w - 1, x + margin + 1); ++xx)
                    near[std::size_t(yy) * std::size_t(w) + std::size_t(xx)] = 1;
        }
    int clear = 0, compared = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (near[std::size_t(y) * std::size_t(w) + std::size_t(x)])
                continue;
            ++compared;
            const QRgb p = reference.pixel(x, y), q = ours.pixel(x, y);
            clear += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                               std::abs(qBlue(p) - qBlue(q))}) > 80;
        }
    return compared > w * h / 4 ? double(clear) / compared : 1.0; // most of it was compared
}

class Metafiles : public ::testing::Test {
protected:
    // libwmf's reading of our file (wmf2svg, drawn by Qt's SVG renderer), and ours at the
    // same size.
    void CompareWithLibwmf(const QByteArray& wmf, const char* name, double allowed) {
        const QString in = dir.filePath(QString::fromLatin1(name) + ".wmf");
        const QString out = dir.filePath(QString::fromLatin1(name) + ".svg");
        ASSERT_TRUE(picture_tools::WriteAll(in, wmf));
        ASSERT_TRUE(picture_tools::Run("wmf2svg", {"-o", out, in}));
        // wmf2svg leaves the fill of its polylines unset, which SVG fills in black; a metafile
        // polyline is a line only.
        QByteArray svgText = picture_tools::ReadAll(out);
        svgText.replace("<polyline points=", "<polyline fill=\"none\" points=");
        QSvgRenderer svg(svgText);
        ASSERT_TRUE(svg.isValid());
        QImage reference(svg.defaultSize(), QImage::Format_RGB32);
        reference.fill(Qt::white);
        QPainter painter(&reference);
        svg.render(&painter);
        painter.end();
        const QImage ours = Render(wmf, reference.size());
        if (qEnvironmentVariableIsSet("VLMOR_KEEP_RENDERINGS")) {
            reference.save(QStringLiteral("/tmp/%1-libwmf.png").arg(name));
            ours.save(QStringLiteral("/tmp/%1-ours.png").arg(name));
        }
        // Away from the shapes' edges (where the renderers put a boundary a pixel apart).
        EXPECT_LE(DisagreementAwayFromEdges(reference, ours, 2), allowed) << name;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(Metafiles, PlaceablePicturesAgreeWithLibwmf) {
    samples::WmfWriter w(QRect(0, 0, 200, 100), 96);
    w.SetWindowOrg({0, 0});
    w.SetWindowExt({200, 100});
    const int none = w.CreatePen(5, 0, Qt::black);
    w.Select(none);
    const int paper = w.CreateBrush(0, Qt::white); // over the whole box, as libwmf crops
    w.Select(paper);
    w.Rectangle(QRect(0, 0, 200, 100));
    const int red = w.CreateBrush(0, Qt::red);
    w.Select(red);
    w.Rectangle(QRect(10, 10, 60, 30));
    const int blue = w.CreateBrush(0, Qt::blue);
    w.Select(blue);
    w.Ellipse(QRect(90, 10, 60, 60));
    const int green = w.CreateBrush(0, QColor(0, 160, 0));
    w.Select(green);
    w.PolyPolygon(
        {QPolygon({{10, 60}, {50, 60}, {30, 95}}), QPolygon({{160, 10}, {195, 10}, {178, 50}})});
    CompareWithLibwmf(w.Finish(), "shapes", 0.01);
    CompareWithLibwmf(samples::BalloonsMetafile(), "balloons", 0.01);
    // wmf2svg draws a hatched brush solid: the seed head's disc differs, the rest agrees.
    CompareWithLibwmf(samples::SunflowerMetafile(), "sunflower", 0.08);

    // The window moved and scaled record by record (its mapping mode said once, as writers
    // put it): set to twice the box, moved by an offset, its extent halved back by a scale.
    samples::WmfWriter mapped(QRect(0, 0, 200, 100), 96);
    mapped.SetMapMode(8); // anisotropic
    mapped.SetWindowOrg({-100, -50});
    mapped.SetWindowExt({400, 200});
    const int fill = mapped.CreateBrush(0, Qt::white);
    mapped.Select(mapped.CreatePen(5, 0, Qt::black));
    mapped.Select(fill);
    mapped.Rectangle(QRect(-100, -50, 400, 200));
    mapped.Select(mapped.CreateBrush(0, Qt::red));
    mapped.Rectangle(QRect(-60, -30, 80, 40)); // box (20, 10) to (60, 30)
    mapped.OffsetWindowOrg({100, 50});         // window origin (0, 0)
    mapped.Select(mapped.CreateBrush(0, Qt::blue));
    mapped.Rectangle(QRect(200, 20, 100, 60)); // box (100, 10) to (150, 40)
    mapped.ScaleWindowExt(1, 2, 1, 2);         // extent (200, 100): one unit a pixel
    mapped.Select(mapped.CreateBrush(0, QColor(0, 160, 0)));
    mapped.Rectangle(QRect(160, 60, 30, 30)); // box (160, 60) to (190, 90)
    const QByteArray mappedWmf = mapped.Finish();
    CompareWithLibwmf(mappedWmf, "mapping", 0.01);
    const QImage image = Render(mappedWmf, {200, 100});
    EXPECT_EQ(At(image, 21, 11), QColor(Qt::red));
    EXPECT_EQ(At(image, 58, 28), QColor(Qt::red));
    EXPECT_EQ(At(image, 62, 32), QColor(Qt::white));
    EXPECT_EQ(At(image, 101, 11), QColor(Qt::blue));
    EXPECT_EQ(At(image, 148, 38), QColor(Qt::blue));
    EXPECT_EQ(At(image, 152, 42), QColor(Qt::white));
    EXPECT_EQ(At(image, 161, 61), QColor(0, 160, 0));
    EXPECT_EQ(At(image, 188, 88), QColor(0, 160, 0));
    EXPECT_EQ(At(image, 192, 92), QColor(Qt::white));

    // A pie counter-clockwise from east to north: the top right quarter of its circle.
    samples::WmfWriter pie(QRect(0, 0, 40, 40), 96);
    const int brush = pie.CreateBrush(0, QColor(0, 160, 0));
    pie.Select(brush);
    pie.Arc(samples::WmfWriter::ArcKind::Pie, QRect(0, 0, 40, 40), {40, 20}, {20, 0});
    const QImage quarter = Render(pie.Finish(), {40, 40});
    EXPECT_EQ(At(quarter, 28, 12), QColor(0, 160, 0));
    EXPECT_EQ(At(quarter, 12, 12), QColor(Qt::white));
    EXPECT_EQ(At(quarter, 28, 28), QColor(Qt::white));
}

TEST_F(Metafiles, LibreOfficesExportsLookAsLibreOfficeDrawsThem) {
    // Drawings exported by LibreOffice as EMF and as WMF (shapes; a bitmap in its records;
    // clipping and a turned shape; text in two faces), each against LibreOffice's own rendering
    // of that export, cut to the drawing: away from the shapes' edges, at most one pixel in a
    // hundred differs.
    for (const QString drawing : {"shapes", "bitmap", "clip", "text"})
        for (const QString kind : {"emf", "wmf"}) {
            SCOPED_TRACE((drawing + "." + kind).toStdString());
            const QString files = QStringLiteral(VLMOR_METAFILE_FILES "/libreoffice-") + drawing;
            const QByteArray bytes = picture_tools::ReadAll(files + "." + kind);
            const QImage reference =
                QImage(files + "-" + kind + ".png").convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(bytes.isEmpty());
            ASSERT_FALSE(reference.isNull());
            // Ours at the metafile's own size at 96 dpi (as LibreOffice draws it on its page), cut
            // to the drawing the same way.
            Metafile m;
            ASSERT_TRUE(m.Load(bytes, 96));
            const QImage whole = Render(bytes, m.Size());
            // Where each rendering has drawn something clearly not white (their smoothing differs).
            auto drawn = [](const QImage& image) {
                QRect box;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        const QRgb p = image.pixel(x, y);
                        if (std::min({qRed(p), qGreen(p), qBlue(p)}) < 200)
                            box |= QRect(x, y, 1, 1);
                    }
                return box;
            };
            const QRect theirs = drawn(reference), mine = drawn(whole);
            // The drawings' extents agree within three pixels (the end of a wide line is drawn a
            // pixel or two differently; a WMF's coordinates round in its own units).
            EXPECT_LE(std::abs(mine.width() - theirs.width()), 3);
            EXPECT_LE(std::abs(mine.height() - theirs.height()), 3);
            const QSize common = mine.size().boundedTo(theirs.size());
            const QImage ours = whole.copy(QRect(mine.topLeft(), common));
            const QImage expected = reference.copy(QRect(theirs.topLeft(), common));
            if (qEnvironmentVariableIsSet("VLMOR_KEEP_RENDERINGS")) {
                expected.save(QStringLiteral("/tmp/lo-%1-%2-reference.png").arg(drawing, kind));
                ours.save(QStringLiteral("/tmp/lo-%1-%2-ours.png").arg(drawing, kind));
            }
            EXPECT_LE(DisagreementAwayFromEdges(expected, ours, 2), 0.01);
        }
}

TEST_F(Metafiles, LibEmfsMappingAndWorldTransformsLandOnTheirPixels) {
    const std::vector<char> file =
        emf_fixtures::DeviceState(dir.filePath("state.emf").toStdString());
    ASSERT_FALSE(file.empty());
    const QImage image = Render(QByteArray(file.data(), qsizetype(file.size())), {160, 80});
    // The mapping: logical (0, 0)-(50, 25) is device (0, 0)-(80, 40).
    EXPECT_EQ(At(image, 4, 4), QColor(Qt::red));
    EXPECT_EQ(At(image, 76, 36), QColor(Qt::red));
    EXPECT_EQ(At(image, 84, 20), QColor(Qt::white)) << "past the mapped rectangle";
    // The world transform: (25, 5)-(30, 10) scaled by 2 and moved by (20, 10).
    EXPECT_EQ(At(image, 72, 22), QColor(Qt::blue));
    EXPECT_EQ(At(image, 78, 28), QColor(Qt::blue));
    EXPECT_EQ(At(image, 86, 26), QColor(Qt::white)) << "not drawn unscaled";
    // Modified on the left: moved 15 logical units (30 pixels) down before the scale.
    EXPECT_EQ(At(image, 72, 52), QColor(0, 160, 0));
    EXPECT_EQ(At(image, 78, 58), QColor(0, 160, 0));
    // Reset: as written.
    EXPECT_EQ(At(image, 142, 62), QColor(0, 160, 0));
    EXPECT_EQ(At(image, 138, 58), QColor(Qt::white));
}

TEST_F(Metafiles, MetricModesMeasureOnTheHeadersReferenceDevice) {
    // 3.2 pixels a millimetre: 10 mm is 32 pixels, a quarter inch 20.3 from 40.6.
    const std::vector<char> file =
        emf_fixtures::MetricModes(dir.filePath("metric.emf").toStdString());
    ASSERT_FALSE(file.empty());
    const QImage image = Render(QByteArray(file.data(), qsizetype(file.size())), {160, 80});
    EXPECT_EQ(At(image, 2, 2), QColor(Qt::red));
    EXPECT_EQ(At(image, 30, 30), QColor(Qt::red));
    EXPECT_EQ(At(image, 34, 10), QColor(Qt::white)) << "the square ends at 32 pixels";
    EXPECT_EQ(At(image, 10, 34), QColor(Qt::white));
    EXPECT_EQ(At(image, 42, 2), QColor(Qt::blue));
    EXPECT_EQ(At(image, 59, 18), QColor(Qt::blue));
    EXPECT_EQ(At(image, 63, 10), QColor(Qt::white)) << "a quarter inch ends at 61 pixels";
    EXPECT_EQ(At(image, 38, 10), QColor(Qt::white));
    // Along the bottom, from 48 pixels (15 mm) down: 5 mm (16 pixels) from 0; 0.2 inch (16.3)
    // from 64 (20 mm); 0.1 inch (8.1) from 128 (40 mm); 8 isotropic units of 2 pixels from
    // (140, 56).
    const QColor green(0, 160, 0);
    EXPECT_EQ(At(image, 2, 50), green);
    EXPECT_EQ(At(image, 14, 62), green);
    EXPECT_EQ(At(image, 18, 56), QColor(Qt::white)) << "MM_HIMETRIC's square ends at 16";
    EXPECT_EQ(At(image, 66, 50), green);
    EXPECT_EQ(At(image, 78, 62), green);
    EXPECT_EQ(At(image, 82, 56), QColor(Qt::white)) << "MM_LOENGLISH's square ends at 80";
    EXPECT_EQ(At(image, 129, 49), green);
    EXPECT_EQ(At(image, 134, 54), green);
    EXPECT_EQ(At(image, 138, 52), QColor(Qt::white)) << "MM_TWIPS's square ends at 136";
    EXPECT_EQ(At(image, 142, 58), green) << "MM_ISOTROPIC: 2 pixels a unit both ways";
    EXPECT_EQ(At(image, 154, 70), green);
    EXPECT_EQ(At(image, 150, 76), QColor(Qt::white)) << "not the viewport's 4 pixels a unit";
}

TEST_F(Metafiles, EnhancedShapesOfLibEmfLandOnTheirPixels) {
    const std::vector<char> file =
        emf_fixtures::KnownShapes(dir.filePath("shapes.emf").toStdString());
    ASSERT_FALSE(file.empty());
    const QByteArray emf(file.data(), qsizetype(file.size()));
    Metafile m;
    ASSERT_TRUE(m.Load(emf));
    EXPECT_EQ(m.Kind(), imaging::MetafileKind::Enhanced);
    EXPECT_EQ(m.Size(), QSize(188, 94)) << "50 x 25 mm at 96 dots an inch";
    // Drawn into 160 x 80, the frame's own pixels: coordinates land where they were written.
    const QImage image = Render(emf, {160, 80});
    EXPECT_EQ(At(image, 12, 12), QColor(Qt::red));
    EXPECT_EQ(At(image, 68, 38), QColor(Qt::red));
    EXPECT_EQ(At(image, 75, 25), QColor(Qt::white));
    EXPECT_EQ(At(image, 100, 40), QColor(Qt::blue)) << "the ellipse, left of the curve";
    EXPECT_EQ(At(image, 92, 12), QColor(Qt::white)) << "outside the ellipse, in its box";
    EXPECT_EQ(At(image, 40, 60), QColor(0, 160, 0));
    EXPECT_EQ(At(image, 22, 70), QColor(Qt::white));
    EXPECT_EQ(At(image, 118, 40), QColor(Qt::yellow)) << "the closed curve over the ellipse";
    EXPECT_EQ(At(image, 145, 40), QColor(Qt::blue));

    // Twice the size, twice the coordinates, still sharp: a vector drawing.
    const QImage big = Render(emf, {320, 160});
    EXPECT_EQ(At(big, 22, 22), QColor(Qt::red));
    EXPECT_EQ(At(big, 17, 17), QColor(Qt::white));
    EXPECT_EQ(At(big, 80, 120), QColor(0, 160, 0));
    const QImage dense = Render(emf, {160, 80}, nullptr, 2.0);
    EXPECT_EQ(dense.size(), QSize(320, 160));
    EXPECT_EQ(At(dense, 21, 21), QColor(Qt::red)) << "a dense device gets its own pixels";
    EXPECT_EQ(At(dense, 19, 19), QColor(Qt::white));
}

TEST_F(Metafiles, EnhancedTextAndOurOwnDrawingsShow) {
    const std::vector<char> file = emf_fixtures::Text(dir.filePath("text.emf").toStdString());
    const QImage text = Render(QByteArray(file.data(), qsizetype(file.size())), {160, 80});
    int dark = 0, below = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 160; ++x)
            (y < 50 ? dark : below) += qGray(text.pixel(x, y)) < 96;
    EXPECT_GT(dark, 150) << "the word in black under its reference point";
    EXPECT_EQ(below, 0);

    const QImage teapot = Render(samples::TeapotDrawing(), {320, 240});
    EXPECT_EQ(At(teapot, 160, 150), QColor(90, 150, 200)) << "the body";
    EXPECT_EQ(At(teapot, 5, 5), QColor(255, 252, 244)) << "the paper";
    const QImage star = Render(samples::StarburstDrawing(), {240, 240});
    EXPECT_EQ(At(star, 120, 120), QColor(255, 215, 0)) << "the star's middle";
}

TEST_F(Metafiles, HostileFilesAreRefusedWithinLimits) {
    // A million tiny records: refused once over the record limit, quickly.
    samples::WmfWriter flood(QRect(0, 0, 100, 100), 96);
    for (int i = 0; i < 1000000; ++i)
        flood.SetBkMode(i % 2);
    const QByteArray many = flood.Finish();
    Metafile m;
    ASSERT_TRUE(m.Load(many));
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter p(&image);
    QString error;
    EXPECT_FALSE(m.Play(p, QRectF(0, 0, 100, 100), &error));
    EXPECT_EQ(error, "The metafile has too many records");

    // A record claiming more words than the file holds, and a point count past its record.
    QByteArray cut = samples::BalloonsMetafile();
    cut.chop(40);
    ASSERT_TRUE(m.Load(cut));
    EXPECT_FALSE(m.Play(p, QRectF(0, 0, 100, 100), &error));
    EXPECT_FALSE(error.isEmpty());
    samples::WmfWriter lying(QRect(0, 0, 10, 10), 96);
    lying.Polygon(QPolygon({{0, 0}, {5, 5}, {9, 0}}));
    QByteArray liar = lying.Finish();
    liar[22 + 18 + 6] = char(0x7F); // the polygon's point count
    liar[22 + 18 + 7] = char(0x7F);
    ASSERT_TRUE(m.Load(liar));
    EXPECT_FALSE(m.Play(p, QRectF(0, 0, 100, 100), &error));
    EXPECT_EQ(error, "A metafile record is damaged");

    // Objects beyond the table and a huge logical size draw what they can.
    samples::WmfWriter odd(QRect(-32000, -32000, 64000, 64000), 1);
    odd.Select(9999);
    odd.Delete(-5);
    odd.Rectangle(QRect(-32000, -32000, 64000, 64000));
    ASSERT_TRUE(m.Load(odd.Finish(), 96));
    EXPECT_LE(m.Width(), 1 << 20) << "the natural size has a limit";
    EXPECT_TRUE(m.Play(p, QRectF(0, 0, 100, 100), &error)) << error.toStdString();
    p.end();
}

TEST_F(Metafiles, TheNotRasterOperationAndAHatchedBrushLandOnTheirPixels) {
    // Records laid out by hand after the format's documents, behind libEMF's header of a
    // 160 x 80 frame: a green bar over the lower half, a rectangle drawn with R2_NOT across
    // it, and a rectangle of black cross hatching on a transparent background.
    const QByteArray emf =
        picture_tools::ReadAll(QStringLiteral(VLMOR_METAFILE_FILES "/hand-rop2-hatch.emf"));
    ASSERT_FALSE(emf.isEmpty());
    const QImage image = Render(emf, {160, 80});
    EXPECT_EQ(At(image, 60, 60), QColor(0, 160, 0)) << "the bar";
    EXPECT_EQ(At(image, 25, 30), QColor(Qt::black)) << "white paper inverted";
    EXPECT_EQ(At(image, 25, 50), QColor(255, 95, 255)) << "the green bar inverted";
    EXPECT_EQ(At(image, 5, 30), QColor(Qt::white)) << "outside the inverted rectangle";
    const QRect hatched(92, 8, 56, 25);
    const int area = 56 * 25;
    EXPECT_GT(CountIn(image, hatched, Qt::black), area / 10) << "hatch lines";
    EXPECT_GT(CountIn(image, hatched, Qt::white), area / 2) << "the paper shows between them";
}

TEST_F(Metafiles, XorMaskAndMergePensAndADibPatternBrushLandOnTheirPixels) {
    // Laid out by hand (files/make_hand_emf.py): red rectangles drawn with R2_XORPEN,
    // R2_MASKPEN and R2_MERGEPEN half over paper, half over a green bar; a rectangle filled
    // with a 2 x 2 blue and white checker.
    const QByteArray emf =
        picture_tools::ReadAll(QStringLiteral(VLMOR_METAFILE_FILES "/hand-rop2-more.emf"));
    ASSERT_FALSE(emf.isEmpty());
    const QImage image = Render(emf, {160, 80});
    EXPECT_EQ(At(image, 25, 30), QColor(0, 255, 255)) << "red XOR white";
    EXPECT_EQ(At(image, 25, 50), QColor(255, 160, 0)) << "red XOR green";
    EXPECT_EQ(At(image, 65, 30), QColor(255, 0, 0)) << "red AND white";
    EXPECT_EQ(At(image, 65, 50), QColor(0, 0, 0)) << "red AND green";
    EXPECT_EQ(At(image, 105, 30), QColor(255, 255, 255)) << "red OR white";
    EXPECT_EQ(At(image, 105, 50), QColor(255, 160, 0)) << "red OR green";
    const QRect checker(132, 7, 16, 16);
    EXPECT_EQ(CountIn(image, checker, Qt::blue), 128) << "one pixel in two of the checker";
    EXPECT_EQ(CountIn(image, checker, Qt::white), 128);
    EXPECT_EQ(At(image, 132, 7) == QColor(Qt::blue), At(image, 133, 8) == QColor(Qt::blue))
        << "a checker, not stripes";
}

TEST_F(Metafiles, EverySixteenRasterOperationsOfPenAndBrushLandOnTheirPixels) {
    // Laid out by hand (files/make_hand_emf.py): a green bar over the lower half, then red
    // rectangles 10 units apart drawn with the raster operations 1 (black) to 16 (white), so
    // each meets both white paper and the green bar. The expected colour is the operation
    // done on each channel's byte.
    const QByteArray emf =
        picture_tools::ReadAll(QStringLiteral(VLMOR_METAFILE_FILES "/hand-rop2-all.emf"));
    ASSERT_FALSE(emf.isEmpty());
    const QImage image = Render(emf, {160, 80});
    using Op = int (*)(int pen, int there);
    const Op ops[16] = {
        [](int, int) { return 0; },          [](int p, int d) { return ~(p | d); },
        [](int p, int d) { return d & ~p; }, [](int p, int) { return ~p; },
        [](int p, int d) { return p & ~d; }, [](int, int d) { return ~d; },
        [](int p, int d) { return p ^ d; },  [](int p, int d) { return ~(p & d); },
        [](int p, int d) { return p & d; },  [](int p, int d) { return ~(p ^ d); },
        [](int, int d) { return d; },        [](int p, int d) { return d | ~p; },
        [](int p, int) { return p; },        [](int p, int d) { return p | ~d; },
        [](int p, int d) { return p | d; },  [](int, int) { return 255; },
    };
    const QColor pen(255, 0, 0);
    for (int code = 1; code <= 16; ++code) {
        const Op op = ops[code - 1];
        for (const auto& [y, there] :
             {std::pair(30, QColor(Qt::white)), std::pair(50, QColor(0, 160, 0))}) {
            const QColor expected(op(pen.red(), there.red()) & 255,
                                  op(pen.green(), there.green()) & 255,
                                  op(pen.blue(), there.blue()) & 255);
            EXPECT_EQ(At(image, 10 * (code - 1) + 5, y), expected)
                << "operation " << code << (y == 30 ? " over paper" : " over the bar");
        }
    }
}

TEST_F(Metafiles, ClipRegionsCombineInEveryModeAndFromNoClipAtAll) {
    // Laid out by hand (files/make_hand_emf.py): the whole frame filled four times, each
    // through a clip made another way.
    const QByteArray emf =
        picture_tools::ReadAll(QStringLiteral(VLMOR_METAFILE_FILES "/hand-clip.emf"));
    ASSERT_FALSE(emf.isEmpty());
    const QImage image = Render(emf, {160, 80});
    const QColor blue(0, 0, 255), red(255, 0, 0), green(0, 128, 0), black(0, 0, 0);
    EXPECT_EQ(At(image, 10, 40), QColor(Qt::white)) << "a strip subtracted from no clip";
    EXPECT_EQ(At(image, 25, 75), blue) << "everything else";
    EXPECT_EQ(At(image, 50, 30), red) << "inside both intersected rectangles";
    EXPECT_EQ(At(image, 35, 15), blue) << "inside the first only";
    EXPECT_EQ(At(image, 70, 45), blue) << "inside the second only";
    EXPECT_EQ(At(image, 95, 15), green) << "the first of an exclusive-or";
    EXPECT_EQ(At(image, 125, 45), green) << "the second of an exclusive-or";
    EXPECT_EQ(At(image, 110, 30), blue) << "where both lie, an exclusive-or leaves out";
    EXPECT_EQ(At(image, 132, 52), black) << "inside the clip rectangle";
    EXPECT_EQ(At(image, 140, 60), blue) << "the rectangle excluded inside it";
    EXPECT_EQ(At(image, 155, 75), blue) << "outside the clip rectangle";
}
