// SPDX-License-Identifier: MIT
// Undo over the picture document: what each edit pushes, the ring stepping back through the
// pictures shown while browsing, and the guard that keeps an edited record's undo to its own
// copies, through to the post.
#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imagetoolbar/toolbar_button.h"
#include "controls/imageview/picture_document.h"
#include "imaging/undo_ring.h"
#include "tests/controls/image_view_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace controls;

namespace {

void DrainSharedRing() {
    imaging::TBitmap drained;
    while (imaging::UndoRing::Shared().UndoAvailable())
        imaging::UndoRing::Shared().Pop(drained);
}

QRgb Centre(const TPicture& picture) {
    const QImage& image = picture.Bitmap().Handle();
    return image.pixel(image.width() / 2, image.height() / 2);
}

// Colours compared loosely: the record keeps its picture as a JPEG.
bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
}

constexpr QRgb kRed = qRgb(220, 20, 20), kGreen = qRgb(20, 200, 20), kYellow = qRgb(230, 230, 0);

class Undo : public ImageViewFixture {
protected:
    void TwoRecords() {
        DrainSharedRing();
        Bind({Encoded(Solid({16, 12}, kRed), "PNG"), Encoded(Solid({16, 12}, kGreen), "PNG")});
        view->OnPictureChanged = [this](TPDBMultiImage*) { ++changes; };
        bar = std::make_unique<TILDBMultiImageToolBar>();
        bar->SetDBMultiImage(view.get());
    }
    bool UndoButton() {
        bar->RefreshButtons();
        return bar->Buttons(ibdbiUndo)->isEnabled();
    }
    std::unique_ptr<TILDBMultiImageToolBar> bar;
    int changes = 0;
};

// The pushes an operation makes, counted on the shared ring.
std::uint64_t PushesOf(const std::function<void()>& operation) {
    const std::uint64_t before = imaging::UndoRing::Shared().Pushes();
    operation();
    return imaging::UndoRing::Shared().Pushes() - before;
}

} // namespace

TEST_F(Undo, EachEditPushesWhatItsRowSaysAndNothingWithoutILUndo) {
    TwoRecords();
    const QString file = dir.filePath("yellow.png");
    Solid({10, 10}, kYellow).save(file);
    QGuiApplication::clipboard()->setImage(Solid({6, 6}, kYellow));
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "ILUndo on" : "ILUndo off");
        view->ILUndo = keep;
        const std::uint64_t one = keep ? 1 : 0;
        EXPECT_EQ(PushesOf([&] { view->InvertImage(); }), one);
        EXPECT_EQ(PushesOf([&] { view->RotateImage(0, 0, 0, 0, 90); }), 0u) << "a turn keeps none";
        table.Edit();
        EXPECT_EQ(PushesOf([&] { view->PasteFromClipboard(); }), one);
        EXPECT_EQ(PushesOf([&] { view->LoadFromFile(file); }), one) << "through its decode";
        EXPECT_EQ(Centre(view->Picture), kYellow);
        EXPECT_EQ(PushesOf([&] { view->CutToClipboard(); }), one);
        EXPECT_FALSE(view->Picture.HasGraphic()) << "the cut emptied the picture";
        table.Cancel();
    }
    // Every edit is in the table, and the row decides alone: only the load leaves its copy
    // to the decode it causes, only the turn keeps none.
    int before = 0, none = 0, decode = 0;
    for (const EditCommand& edit : edits::All)
        (edit.Copy == UndoCopy::Before ? before : edit.Copy == UndoCopy::None ? none : decode)++;
    EXPECT_EQ(std::size(edits::All), 8u);
    EXPECT_EQ(none, 1);
    EXPECT_EQ(decode, 1);
}

TEST_F(Undo, BrowsingStepsBackThroughThePicturesShownBefore) {
    TwoRecords();
    EXPECT_EQ(Centre(view->Picture), kRed);
    EXPECT_FALSE(UndoButton()) << "nothing pushed yet";
    table.GoNext(); // the decode pushes the red picture
    EXPECT_EQ(Centre(view->Picture), kGreen);
    EXPECT_TRUE(UndoButton());
    view->UndoImage();
    EXPECT_EQ(Centre(view->Picture), kRed) << "the earlier record's picture, as while browsing";
    EXPECT_FALSE(imaging::UndoRing::Shared().UndoAvailable());
}

TEST_F(Undo, AnEditedRecordUndoesOnlyItsOwnCopiesAndItsPostKeepsItsPicture) {
    TwoRecords();
    table.GoNext(); // green shown; the ring holds the red picture of the first record
    table.Edit();
    EXPECT_TRUE(imaging::UndoRing::Shared().UndoAvailable());
    EXPECT_FALSE(view->Document().UndoAvailable()) << "the red copy is another record's";
    EXPECT_FALSE(UndoButton());
    changes = 0;
    view->UndoImage();
    EXPECT_EQ(Centre(view->Picture), kGreen);
    EXPECT_EQ(changes, 0) << "nothing at all happens";

    view->InvertImage(); // pushes green
    EXPECT_NE(Centre(view->Picture), kGreen);
    EXPECT_TRUE(UndoButton());
    view->UndoImage();
    EXPECT_EQ(Centre(view->Picture), kGreen) << "the edit's own copy comes back";
    EXPECT_FALSE(UndoButton());
    view->UndoImage();
    EXPECT_EQ(Centre(view->Picture), kGreen) << "and nothing older";

    table.Post();
    const QByteArray stored =
        static_cast<data::TBlobField*>(table.FindField("GraphicFile"))->Value();
    QImage written;
    ASSERT_TRUE(written.loadFromData(stored)) << "the post wrote the picture back";
    EXPECT_TRUE(Near(written.pixel(8, 6), kGreen)) << "the record keeps its own picture";

    // The edit is over: browsing rules again, the red copy is reachable.
    EXPECT_EQ(view->Document().UndoAvailable(), imaging::UndoRing::Shared().UndoAvailable());
}

TEST_F(Undo, TheDocumentAloneKeepsItsGuardAgainstCopiesOfAnotherDocument) {
    imaging::UndoRing ring;
    PictureDocument document(ring), other(ring);
    bool editing = false;
    document.RecordEditing = [&] { return editing; };
    QSignalSpy changed(&document, &PictureDocument::PictureChanged);
    const QByteArray red = Encoded(Solid({8, 8}, kRed), "PNG"),
                     green = Encoded(Solid({8, 8}, kGreen), "PNG");
    ReadSettings how;
    for (const QByteArray& blob : {red, green}) {
        const imaging::Detection found = document.Detect(blob, how.TiffPage, how.PixelsPerInch);
        ASSERT_TRUE(document.ReadPicture(found.loadName, blob, how, std::nullopt, {}));
    }
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(ring.Pushes(), 1u) << "the second picture pushed the first";
    document.RecordShown();
    editing = true;
    EXPECT_FALSE(document.UndoAvailable());
    document.Invert();
    EXPECT_TRUE(document.UndoAvailable());
    other.Picture.SetBitmap(document.Picture.Bitmap());
    other.PushUndo(edits::Invert); // another view pushes on top during the edit
    EXPECT_FALSE(document.UndoAvailable());
    document.Undo();
    EXPECT_NE(Centre(document.Picture), kGreen) << "the other view's copy is not taken";
    editing = false;
    EXPECT_TRUE(document.UndoAvailable());

    // A picture that is not one: the engine's refusal, the picture emptied.
    const QByteArray broken = red.left(40);
    const imaging::Detection found = document.Detect(broken, how.TiffPage, how.PixelsPerInch);
    EXPECT_FALSE(document.ReadPicture(found.loadName.isEmpty() ? "PNG" : found.loadName, broken,
                                      how, std::nullopt, {}));
    EXPECT_FALSE(document.Picture.HasGraphic());
    EXPECT_FALSE(imaging::EngineBinding::Instance().LastEngineError().Text.isEmpty());
}

TEST_F(Undo, AnotherRecordsPictureBroughtBackWhileBrowsingNeverCountsAsTheRecordsOwn) {
    TwoRecords();
    table.GoNext();    // green shown; the ring holds the red picture
    view->UndoImage(); // browsing: the red picture comes back onto the green record
    ASSERT_EQ(Centre(view->Picture), kRed);
    QGuiApplication::clipboard()->setImage(Solid({16, 12}, kYellow));
    table.Edit();
    view->PasteFromClipboard(); // pushes the red picture shown: not the record's own
    ASSERT_EQ(Centre(view->Picture), kYellow);
    EXPECT_FALSE(view->Document().UndoAvailable());
    view->UndoImage();
    EXPECT_EQ(Centre(view->Picture), kYellow) << "the other record's picture does not come back";
    table.Post();
    QImage written;
    ASSERT_TRUE(written.loadFromData(
        static_cast<data::TBlobField*>(table.FindField("GraphicFile"))->Value()));
    EXPECT_TRUE(Near(written.pixel(8, 6), kYellow));
}

TEST_F(Undo, APictureShownLateWhileTheRecordIsEditedPushesThePreviousRecordsAsNoOnes) {
    TwoRecords();
    view->SetAutoDisplay(false);
    table.GoNext(); // nothing read: the red picture of the first record still shows
    ASSERT_EQ(Centre(view->Picture), kRed);
    table.Edit();
    view->LoadPicture(); // the green picture read now pushes the red one
    ASSERT_EQ(Centre(view->Picture), kGreen);
    EXPECT_FALSE(view->Document().UndoAvailable());
    view->UndoImage();
    EXPECT_EQ(Centre(view->Picture), kGreen);
    table.Cancel();
}
