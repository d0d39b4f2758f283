// SPDX-License-Identifier: MIT
// The image view's saving: the preconditions in their order, every writer read back by an
// independent tool at the depth its rules give, nothing lost when a writer fails, TIFF pages
// appended, and the raw blob.
#include "controls/imageview/db_multi_image.h"
#include "imaging/error_invalid.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/qt_printers.h"

#include <QDir>
#include <QProcess>
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
