// SPDX-License-Identifier: MIT
// The image view's loading: detection of the current blob, the decode by the engine's readers,
// the credit messages shown instead of a picture, the progress and error reports, and the
// write-back of an edited picture.
#include "controls/imageview/db_multi_image.h"
#include "imaging/decoding/picture_decoding.h"

#include "data/data_set.h"
#include "data/field.h"
#include "imaging/credit/credit_message.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"

#include <QBuffer>
#include <QCoreApplication>

namespace controls {

namespace {

using imaging::EngineFormat;

// The writer of each write-back format.
EngineFormat WriterFormat(TBlobUpDate format) {
    switch (format) {
    case bUpdateAsJPG:
        return EngineFormat::Jpeg;
    case bUpdateAsBMP:
        return EngineFormat::Bmp;
    case bUpdateAsGIF:
        return EngineFormat::Gif;
    case bUpdateAsPCX:
        return EngineFormat::Pcx;
    case bUpdateAsTGA:
        return EngineFormat::Tga;
    case bUpdateAsPNG:
        return EngineFormat::Png;
    case bUpdateAsTIF:
        break;
    }
    return EngineFormat::Tiff;
}

} // namespace

std::int16_t TPDBMultiImage::ProgressThunk(std::int16_t progress, void* user) {
    return static_cast<TPDBMultiImage*>(user)->ReportProgress(progress) ? 1 : 0;
}

bool TPDBMultiImage::ReportProgress(std::int16_t progress) {
    if (!OnProgress)
        return true;
    bool cancel = false;
    OnProgress(this, progress, imaging::EngineBinding::Instance().ProgressText().toLower(), cancel);
    return !cancel;
}

void TPDBMultiImage::ReportEngineError() {
    const imaging::EngineError& error = imaging::EngineBinding::Instance().LastEngineError();
    if (!OnIlibError)
        throw imaging::ErrorInvalid(error.Text);
    char text[256] = {};
    const QByteArray bytes = error.Text.toLocal8Bit().left(255);
    std::memcpy(text, bytes.constData(), std::size_t(bytes.size()));
    OnIlibError(this, error.Code, error.Text, text);
}

bool TPDBMultiImage::BlobFieldBound() const {
    const data::TField* field = dataLink_.Field();
    return field && field->DataType() == data::TFieldType::ftBlob;
}

QByteArray TPDBMultiImage::BlobBytes() const {
    const data::TField* field = dataLink_.Field();
    if (!field)
        return {};
    if (field->DataType() == data::TFieldType::ftBlob)
        return static_cast<const data::TBlobField*>(field)->Value();
    return field->AsString().toLatin1(); // one byte a character, as a blob reads text
}

QString TPDBMultiImage::GetBlobInfo() {
    const data::TField* field = dataLink_.Field();
    if (!field || (BlobFieldBound() && field->IsNull()))
        return QStringLiteral("-1");
    const Detection found = document_.Detect(BlobBytes(), TiffPage, logicalDpiX());
    if (found.engineError)
        ReportEngineError();
    return found.loadName;
}

void TPDBMultiImage::LoadPicture() {
    SyncZoomModel();
    zoom_.ResetView();
    if (!document_.Loaded && BlobFieldBound()) {
        const auto* field = static_cast<const data::TBlobField*>(dataLink_.Field());
        if (field->IsNull()) {
            ClearPicture(true);
            return; // no message, no event
        }
        ReportProgress(0);
        // The blob is read once here; detection and decoding share the bytes.
        const QByteArray blob = field->Value();
        const Detection found = document_.Detect(blob, TiffPage, logicalDpiX());
        if (found.engineError)
            ReportEngineError();
        const QString& name = found.loadName;
        // Rich text and a name no format has decode nothing: the placeholder stays.
        switch (imaging::KindOfLoadName(name).value_or(imaging::PictureKind::Note)) {
        case imaging::PictureKind::Credit:
            ShowCreditMessage(name, blob);
            break;
        case imaging::PictureKind::Metafile: {
            ClearPicture(false);
            platform::WaitCursor wait;
            document_.ReadMetafile(blob, logicalDpiX());
            ReportProgress(0);
            break;
        }
        case imaging::PictureKind::Picture:
        case imaging::PictureKind::Drawing:
            DecodeBitmap(name, blob, ReadDepth(ImageReadRes, DeviceBitsPerPixel()));
            break;
        case imaging::PictureKind::Note:
            break;
        }
        document_.Detect(blob, TiffPage, logicalDpiX()); // refresh after the decode
    }
    document_.RecordShown();
    // A fitted picture stays fitted, also when it was loaded already (a double click or Enter
    // on it): the view and the toolbar's pressed fit button agree.
    if (zoom_.StretchRatio()) {
        SyncZoomModel();
        zoom_.ComputeFitZoom();
    }
    update();
    PostStateChanged();
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
    emit PictureShown();
}

imaging::DecodeRequest TPDBMultiImage::ReadRequest(const QByteArray& blob) const {
    imaging::DecodeRequest r;
    r.Blob = blob;
    r.Depth = ReadDepth(ImageReadRes, DeviceBitsPerPixel());
    r.Dither = ImageDither;
    r.TiffPage = TiffPage;
    r.PcdMode = PCDMode;
    r.PixelsPerInch = logicalDpiX();
    return r;
}

std::optional<imaging::TBitmap> TPDBMultiImage::TakeReadAhead(const QByteArray& blob) {
    if (!readAhead_)
        return std::nullopt;
    std::optional<imaging::DecodeResult> ahead = readAhead_->Take(ReadRequest(blob));
    if (!ahead || ahead->What != imaging::DecodeResult::Kind::Picture)
        return std::nullopt;
    return std::move(ahead->Bitmap);
}

PictureDocument& TPDBMultiImage::Edits() {
    document_.KeepsUndo = ILUndo;
    return document_;
}

void TPDBMultiImage::DecodeBitmap(const QString& loadName, const QByteArray& blob, int readDepth) {
    ClearPicture(false);
    platform::WaitCursor wait;
    ReadSettings how{readDepth, ImageDither, TiffPage, PCDMode, logicalDpiX()};
    const bool transition = FXMethod != imaging::FXNone;
    const bool ok = Edits().ReadPicture(loadName, blob, how, TakeReadAhead(blob), ToView(),
                                        transition ? &transitionBitmap_ : nullptr);
    TiffPage = how.TiffPage;
    if (ok) {
        imaging::DecodeRequest request = ReadRequest(blob);
        request.Depth = readDepth;
        sharp_.Shown(loadName, std::move(request), Picture.Bitmap().Handle());
    }
    if (!ok)
        ReportEngineError();
    else if (transition)
        RunTransition();
}

void TPDBMultiImage::ShowCreditMessage(const QString& loadName, const QByteArray& blob) {
    platform::WaitCursor wait;
    if (Picture.HasBitmap())
        Edits().PushUndo(edits::Show);
    document_.RecordRead();
    ClearPicture(true);
    QByteArray copy = blob;
    QBuffer stream(&copy);
    stream.open(QIODevice::ReadOnly);
    imaging::MessageFont font;
    font.PixelsPerInch = logicalDpiY();
    int speed = 0;
    std::uint32_t background = 0;
    const bool wasShowing = ScmShowing() || CmsShowing();
    if (loadName == QLatin1String("SCM")) {
        QString text;
        imaging::ParseScrollingMessage(stream, font, &speed, &text, &background);
        credit_.StartScrolling(text, font, background, speed, size());
    } else {
        QStringList lines;
        imaging::ParseCreditMessage(stream, font, &speed, &lines, &background);
        credit_.StartRolling(lines, font, background, speed, size());
    }
    if (!wasShowing)
        savedColor_ = color_;
    color_ = background;
    creditTimer_.start();
    update();
    ReportProgress(0);
}

void TPDBMultiImage::CreditTick(CreditDisplay::Kind kind) {
    if (credit_.Showing() != kind)
        return;
    // The strip lies in client coordinates, inside the border.
    const QRect before(credit_.Position(), credit_.Strip().size());
    if (credit_.Tick())
        update(before.united(QRect(credit_.Position(), credit_.Strip().size()))
                   .translated(contentsRect().topLeft()));
}

void TPDBMultiImage::UpdateData() {
    if (BlobFieldBound()) {
        auto* field = static_cast<data::TBlobField*>(dataLink_.Field());
        ReportProgress(0);
        if (document_.Info.BlobFormat == QLatin1String("RTF"))
            return;
        if (!Picture.HasBitmapHandle()) {
            // Nothing, or a metafile: the field is cleared.
            QBuffer empty;
            empty.open(QIODevice::ReadOnly);
            field->LoadFromStream(empty);
        } else {
            const bool appendTo = BlobUpDate == bUpdateAsTIF && !field->IsNull() &&
                                  document_.Info.BlobFormat.toUpper() == QLatin1String("TIFF");
            imaging::WriteOptions options = WriteOptionsFor(
                imaging::MainExtension(imaging::FormatOf(WriterFormat(BlobUpDate))));
            options.Append = appendTo && TiffAppend;
            // A picture that cannot be stored is said so; the field keeps its old value.
            std::optional<QByteArray> written =
                document_.Encode(WriterFormat(BlobUpDate), options,
                                 appendTo ? field->Value() : QByteArray(), ToView());
            if (!written) {
                ReportEngineError();
            } else {
                QBuffer stream(&*written);
                stream.open(QIODevice::ReadOnly);
                field->LoadFromStream(stream);
            }
        }
    }
    GetBlobInfo();
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
}

} // namespace controls
