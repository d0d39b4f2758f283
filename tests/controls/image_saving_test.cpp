// SPDX-License-Identifier: MIT
// The image view's saving: the preconditions in their order, every writer read back by an
// independent tool at the depth its rules give, nothing lost when a writer fails, TIFF pages
// appended, and the raw blob.
#include "controls/imageview/db_multi_image.h"
#include "imaging/error_invalid.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/collection.h"

#include <QDir>
#include <QProcess>
#include <QSvgRenderer>
#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

// What ImageMagick says of a file: "width height depth" of its first frame, and the frames.
QString Identify(const QString& file, const char* format = "%w %h %z") {
    QProcess p;
    p.start("identify", {"-format", QString::fromLatin1(format) + "\\n", file});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n').first().trimmed();
}

int Frames(const QString& file) {
    QProcess p;
    p.start("identify", {"-format", "x", file});
    p.waitForFinished(30000);
    return int(p.readAllStandardOutput().count('x'));
}

QString Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const imaging::ErrorInvalid& e) {
        return e.Message();
    }
    return {};
}

QImage Quarters() {
    QImage image(32, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y,
                           x < 16 ? (y < 8 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                                  : (y < 8 ? qRgb(0, 255, 0) : qRgb(255, 255, 255)));
    return image;
}

class Saving : public ImageViewFixture {
protected:
    QString Out(const QString& name) { return dir.filePath(name); }
};

} // namespace

TEST_F(Saving, ThePreconditionsComeInTheirOrder) {
    Bind({Encoded(Quarters(), "PNG"), QByteArray()}, {100, 100},
         [](TPDBMultiImage& v) { v.SetAutoDisplay(false); });
    // Shown nothing yet: the picture is not displayed.
    EXPECT_EQ(Message([&] { view->SaveAsBMP(Out("a.bmp")); }),
              "Can't save, image is not displayed, Set Autodisplay or double click display to "
              "view image first.");
    view->SetAutoDisplay(true);
    table.GoNext(); // a null blob, though a picture was shown before
    EXPECT_EQ(Message([&] { view->SaveAsBMP(Out("a.bmp")); }), "Can't save, blobfield is empty");
    EXPECT_EQ(Message([&] { view->SaveBlobToFile(Out("a.bin")); }),
              "Can't save, blobfield is empty");
    view->SetDataField("FileName");
    EXPECT_EQ(Message([&] { view->SaveAsBMP(Out("a.bmp")); }), "Field is not a blobfield");
    EXPECT_FALSE(QFile::exists(Out("a.bmp")));
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);
}

TEST_F(Saving, EveryWriterWritesWhatAnotherProgramReads) {
    Bind({Encoded(Quarters(), "PNG")}, {100, 100});
    std::vector<QString> progress;
    view->OnProgress = [&](TPDBMultiImage*, std::int16_t, const QString& text, bool&) {
        progress.push_back(text);
    };
    finished = 0;
    view->ImageWriteRes = imaging::sColorTrue;
    view->SetJPegSaveQuality(95);
    const struct {
        void (TPDBMultiImage::*save)(const QString&);
        const char* name;
        const char* depth; // as ImageMagick reports it
        bool exact;
    } writers[] = {{&TPDBMultiImage::SaveAsBMP, "p.bmp", "8", true},
                   {&TPDBMultiImage::SaveAsPNG, "p.png", "8", true},
                   {&TPDBMultiImage::SaveAsPCX, "p.pcx", "8", true},
                   {&TPDBMultiImage::SaveAsTGA, "p.tga", "8", true},
                   {&TPDBMultiImage::SaveAsTIF, "p.tif", "8", true},
                   {&TPDBMultiImage::SaveAsGIF, "p.gif", "8", true},
                   {&TPDBMultiImage::SaveAsJPG, "p.jpg", "8", false}};
    for (const auto& w : writers) {
        SCOPED_TRACE(w.name);
        (view.get()->*w.save)(Out(w.name));
        ASSERT_TRUE(QFile::exists(Out(w.name)));
        EXPECT_EQ(Identify(Out(w.name)), QStringLiteral("32 16 ") + w.depth);
        const QImage back = QString(w.name) == "p.pcx"
                                ? picture_tools::NetpbmPcxPixels(Out(w.name))
                                : picture_tools::ImageMagickPixels(Out(w.name));
        const picture_tools::Difference d = picture_tools::Compare(back, Quarters());
        EXPECT_FALSE(d.sizeDiffers);
        if (w.exact)
            EXPECT_EQ(d.pixels, 0);
        else
            EXPECT_LT(d.mean, 8);
    }
    EXPECT_EQ(finished, 7);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), ("writing " + Out("p.jpg")).toLower()) << "the status, lowered";
    // No side files are left behind.
    EXPECT_EQ(QDir(dir.path()).entryList({".p*"}, QDir::Files | QDir::Hidden), QStringList());

    // One bit for a monochrome TIFF; a GIF has eight whatever is asked.
    view->ImageWriteRes = imaging::sMonoChrome;
    view->SaveAsTIF(Out("mono.tif"));
    EXPECT_EQ(Identify(Out("mono.tif"), "%w %h %[bit-depth]"), "32 16 1");
    view->ImageWriteRes = imaging::sColorTrue;
    view->SaveAsGIF(Out("true.gif"));
    const QByteArray gif = picture_tools::ReadAll(Out("true.gif"));
    ASSERT_GT(gif.size(), 10);
    EXPECT_EQ(gif[10] & 7, 7) << "a colour table of 256 entries: 8 bits a pixel";
}

TEST_F(Saving, AFailingWriterLeavesTheOldFileAndAnAppendAddsAPage) {
    Bind({Encoded(Quarters(), "PNG")}, {100, 100});
    const QString target = Out("keep.bmp");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the user's own file");
    }
    // Cancelled by the progress handler: the writer fails, the old file stays.
    view->OnProgress = [](TPDBMultiImage*, std::int16_t, const QString&, bool& cancel) {
        cancel = true;
    };
    QString reported;
    view->OnIlibError = [&](TPDBMultiImage*, std::int16_t, const QString& text, const char*) {
        reported = text;
    };
    view->SaveAsBMP(target);
    EXPECT_FALSE(reported.isEmpty());
    EXPECT_EQ(picture_tools::ReadAll(target), "the user's own file");
    EXPECT_EQ(QDir(dir.path()).entryList({".keep*"}, QDir::Files | QDir::Hidden), QStringList());
    // Without a handler the failure is raised.
    view->OnIlibError = nullptr;
    EXPECT_FALSE(Message([&] { view->SaveAsPNG(Out("keep.png")); }).isEmpty());
    EXPECT_FALSE(QFile::exists(Out("keep.png")));

    view->OnProgress = nullptr;
    view->TiffAppend = true;
    view->SaveAsTIF(Out("pages.tif"));
    view->SaveAsTIF(Out("pages.tif"));
    view->SaveAsTIF(Out("pages.tif"));
    EXPECT_EQ(Frames(Out("pages.tif")), 3);
}

TEST_F(Saving, TheBlobIsWrittenAsItIs) {
    const QByteArray scm(
        "belisqor/fc|$FFFFFF/fh|-14/fn|Arial/fs|/ft|0000/bc|$800000/sp|1/sm|Hi/eo|");
    Bind({scm}, {100, 100});
    finished = 0;
    view->SaveBlobToFile(Out("credit.scm"));
    EXPECT_EQ(picture_tools::ReadAll(Out("credit.scm")), scm);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(view->BlobInfo().BlobFormat, "SCM");
}

TEST_F(Saving, AReplacedFileKeepsItsPermissionsAndALinkStaysALink) {
    Bind({Encoded(Quarters(), "PNG")}, {100, 100});
    const QString real = Out("real.bmp"), link = Out("link.bmp");
    {
        QFile old(real);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    const QFile::Permissions own = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(real, own));
    ASSERT_TRUE(QFile::link(real, link));
    view->SaveAsBMP(link);
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link is kept";
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(real).absoluteFilePath());
    EXPECT_EQ(picture_tools::Compare(picture_tools::ImageMagickPixels(real), Quarters()).pixels, 0);
    const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(real) & modeBits, own) << "the file's permissions too";
    // A link to a link to a file not there yet: the file is made where the chain ends.
    const QString chain = Out("chain.bmp"), end = Out("sub/end.bmp");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::link(end, Out("middle.bmp")));
    ASSERT_TRUE(QFile::link(Out("middle.bmp"), chain));
    view->SaveAsPNG(chain);
    EXPECT_TRUE(QFileInfo(chain).isSymLink());
    EXPECT_EQ(picture_tools::Compare(picture_tools::ImageMagickPixels(end), Quarters()).pixels, 0);
}

TEST_F(Saving, EachFailureSaysWhatWentWrongAndAnEpsIsWhatGhostscriptDraws) {
    Bind({Encoded(Quarters(), "PNG")}, {100, 100});
    QString reported;
    view->OnIlibError = [&](TPDBMultiImage*, std::int16_t, const QString& text, const char*) {
        reported = text;
    };
    const QString nowhere = Out("missing/p.bmp");
    view->SaveAsBMP(nowhere);
    EXPECT_EQ(reported, "Cannot create a file in the folder of " + nowhere);
    // A folder where the file should be: it cannot be read to add a page, nor replaced.
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken.tif/inside"));
    view->TiffAppend = true;
    view->SaveAsTIF(Out("taken.tif"));
    EXPECT_EQ(reported, "Cannot read " + Out("taken.tif") + " to add a page");
    view->TiffAppend = false;
    reported.clear();
    view->SaveAsTIF(Out("taken.tif"));
    EXPECT_EQ(reported, "Cannot replace " + Out("taken.tif"));
    EXPECT_TRUE(QFileInfo(Out("taken.tif")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList({".taken*"}, QDir::Files | QDir::Hidden), QStringList());

    // The EPS writer: Ghostscript draws the very pixels, one point each.
    reported.clear();
    view->SaveAsEPS(Out("p.eps"));
    EXPECT_TRUE(reported.isEmpty()) << reported.toStdString();
    const picture_tools::Difference d =
        picture_tools::Compare(picture_tools::GhostscriptPixels(Out("p.eps")), Quarters());
    EXPECT_FALSE(d.sizeDiffers);
    EXPECT_EQ(d.pixels, 0);
}

TEST_F(Saving, EveryAppendedTiffPageIsThePicture) {
    QImage second = Quarters().mirrored(true, false);
    Bind({Encoded(Quarters(), "PNG"), Encoded(second, "PNG")}, {100, 100});
    view->TiffAppend = true;
    view->SaveAsTIF(Out("pages.tif"));
    table.GoNext();
    view->SaveAsTIF(Out("pages.tif"));
    table.GoPrior();
    view->SaveAsTIF(Out("pages.tif"));
    ASSERT_EQ(Frames(Out("pages.tif")), 3);
    const QImage expected[] = {Quarters(), second, Quarters()};
    for (int page = 0; page < 3; ++page) {
        const QImage back =
            picture_tools::ImageMagickPixels(Out("pages.tif"), QStringLiteral("[%1]").arg(page));
        EXPECT_EQ(picture_tools::Compare(back, expected[page]).pixels, 0) << "page " << page;
    }
}

TEST_F(Saving, AVectorPictureIsSavedAsItsOwnBytesAnSvgOrAPng) {
    QByteArray emf;
    for (const samples::Sample& s : samples::Collection())
        if (s.Format == samples::SampleFormat::Emf && emf.isEmpty())
            emf = samples::Encode(s);
    ASSERT_FALSE(emf.isEmpty());
    Bind({emf}, {300, 300});
    ASSERT_TRUE(view->Picture.HasMetafile());
    EXPECT_EQ(view->VectorSaveExtensions(), QStringList({"EMF", "SVG", "PNG"}));
    EXPECT_THROW(view->SaveAs(imaging::EngineFormat::Bmp, Out("no.bmp")), imaging::ErrorInvalid)
        << "the engine's writers take bitmaps only";

    view->SaveVector(Out("copy.emf"));
    EXPECT_EQ(picture_tools::ReadAll(Out("copy.emf")), emf) << "the record's bytes";
    view->SaveVector(Out("drawn.SVG"));
    QSvgRenderer svg(Out("drawn.SVG"));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.defaultSize(), view->Picture.Metafile().Size());
    view->SaveVector(Out("drawn.png"));
    const QSize natural = view->Picture.Metafile().Size();
    EXPECT_EQ(
        picture_tools::Identify(Out("drawn.png")).section(u' ', 1),
        QStringLiteral("%1 %2").arg(std::max(2 * natural.width(), 1)).arg(2 * natural.height()))
        << "ImageMagick reads it, twice the picture's size";
    EXPECT_THROW(view->SaveVector(Out("no.tif")), imaging::ErrorInvalid);
    EXPECT_FALSE(QFile::exists(Out("no.tif")));
}
