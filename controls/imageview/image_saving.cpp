// SPDX-License-Identifier: MIT
// The image view's saving: any format the engine writes (the eight named writers call it), and
// the raw blob, written by the picture document with the view's write options.
#include "controls/imageview/db_multi_image.h"

#include "data/field.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"
#include "imaging/metafile/metafile_export.h"

#include <QFileInfo>

namespace controls {

using imaging::EngineFormat;

void TPDBMultiImage::CheckSavePreconditions(bool needsPicture) {
    const data::TField* field = dataLink_.Field();
    if (!field || field->DataType() != data::TFieldType::ftBlob)
        throw imaging::ErrorInvalid(QStringLiteral("Field is not a blobfield"));
    if (field->IsNull())
        throw imaging::ErrorInvalid(QStringLiteral("Can't save, blobfield is empty"));
    if (needsPicture && !Picture.HasBitmapHandle())
        throw imaging::ErrorInvalid(
            QStringLiteral("Can't save, image is not displayed, Set Autodisplay or double click "
                           "display to view image first."));
}

imaging::WriteOptions TPDBMultiImage::WriteOptionsFor(const QString& extension) const {
    imaging::WriteOptions options;
    options.Depth = imaging::WriteBitsForFormat(extension, ImageWriteRes, this);
    options.Quality = jpegQuality_;
    options.Smoothing = jpegSmooth_;
    options.Interlaced = PNGInterLaced;
    options.Compression = imaging::TiffCompressionCode(TifSaveCompress);
    return options;
}

void TPDBMultiImage::SaveAs(EngineFormat format, const QString& fileName) {
    if (!imaging::FormatOf(format).EngineWrites)
        throw imaging::ErrorInvalid(QStringLiteral("The engine cannot write ") +
                                    QLatin1String(imaging::FormatOf(format).LoadName) +
                                    QStringLiteral(" pictures"));
    CheckSavePreconditions(true);
    platform::WaitCursor wait;
    ReportProgress(0);
    imaging::WriteOptions options =
        WriteOptionsFor(imaging::MainExtension(imaging::FormatOf(format)));
    options.Append = format == EngineFormat::Tiff && TiffAppend;
    options.Label = fileName; // the progress names the user's file, not the side file
    if (!document_.SaveAs(format, fileName, options, ToView())) {
        ReportEngineError();
        return;
    }
    GetBlobInfo();
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
}

QStringList TPDBMultiImage::VectorSaveExtensions() const {
    if (!Picture.HasMetafile() || Picture.Metafile().Empty())
        return {};
    return {imaging::metafile_export::OwnExtension(Picture.Metafile()), QStringLiteral("SVG"),
            QStringLiteral("PNG")};
}

void TPDBMultiImage::SaveVector(const QString& fileName) {
    CheckSavePreconditions(false);
    if (VectorSaveExtensions().isEmpty())
        throw imaging::ErrorInvalid(QStringLiteral("The picture shown is not a vector picture"));
    const imaging::Metafile& picture = Picture.Metafile();
    const QString extension = QFileInfo(fileName).suffix().toUpper();
    platform::WaitCursor wait;
    QByteArray bytes;
    if (extension == imaging::metafile_export::OwnExtension(picture)) {
        bytes = picture.Bytes(); // the record's own picture, as it is stored
    } else if (extension == QLatin1String("SVG")) {
        bytes = imaging::metafile_export::Svg(picture);
    } else if (extension == QLatin1String("PNG")) {
        bytes = imaging::metafile_export::PngBytes(imaging::metafile_export::ExportImage(picture));
    } else {
        throw imaging::ErrorInvalid(QStringLiteral("A vector picture is saved as ") +
                                    VectorSaveExtensions().join(QStringLiteral(", ")));
    }
    if (bytes.isEmpty())
        throw imaging::ErrorInvalid(QStringLiteral("Cannot write ") + fileName);
    PictureDocument::SaveBytes(bytes, fileName);
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
}

void TPDBMultiImage::SaveAsBMP(const QString& fileName) {
    SaveAs(EngineFormat::Bmp, fileName);
}
void TPDBMultiImage::SaveAsGIF(const QString& fileName) {
    SaveAs(EngineFormat::Gif, fileName);
}
void TPDBMultiImage::SaveAsTIF(const QString& fileName) {
    SaveAs(EngineFormat::Tiff, fileName);
}
void TPDBMultiImage::SaveAsPCX(const QString& fileName) {
    SaveAs(EngineFormat::Pcx, fileName);
}
void TPDBMultiImage::SaveAsTGA(const QString& fileName) {
    SaveAs(EngineFormat::Tga, fileName);
}
void TPDBMultiImage::SaveAsEPS(const QString& fileName) {
    SaveAs(EngineFormat::Eps, fileName);
}
void TPDBMultiImage::SaveAsPNG(const QString& fileName) {
    SaveAs(EngineFormat::Png, fileName);
}
void TPDBMultiImage::SaveAsJPG(const QString& fileName) {
    SaveAs(EngineFormat::Jpeg, fileName);
}

void TPDBMultiImage::SaveBlobToFile(const QString& fileName) {
    CheckSavePreconditions(false);
    platform::WaitCursor wait;
    PictureDocument::SaveBytes(BlobBytes(), fileName);
    GetBlobInfo();
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
}

} // namespace controls
