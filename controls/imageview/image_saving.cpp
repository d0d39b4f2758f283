// SPDX-License-Identifier: MIT
// The image view's saving: the eight writers as one family, and the raw blob. Nothing the user
// had is lost: a picture is written to a temporary file beside the target and takes the
// target's name only when the writer succeeded, so a failing writer leaves an existing file
// as it was (a TIFF page is appended to a copy of the file). A replaced file keeps its
// permissions, and a symbolic link stays a link: the file it names is replaced.
#include "controls/imageview/db_multi_image.h"

#include "data/field.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/error_invalid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace controls {

namespace {

using imaging::EngineFormat;

// The file a name stands for: a symbolic link is followed to the file it names (through a
// chain of links, at most 40), so replacing the file keeps the link.
QString FileBehind(const QString& name) {
    QString path = QFileInfo(name).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            break;
        const QString to = info.symLinkTarget();
        if (to.isEmpty())
            break;
        path = QFileInfo(to).absoluteFilePath();
    }
    return path;
}

// A file written beside its target, moved over it on success and removed otherwise.
class SideFile {
public:
    explicit SideFile(const QString& target)
        : target_(FileBehind(target)) {
        QTemporaryFile file(QFileInfo(target_).absolutePath() + QStringLiteral("/.") +
                            QFileInfo(target_).fileName() + QStringLiteral(".XXXXXX"));
        file.setAutoRemove(false);
        if (file.open()) {
            path_ = file.fileName();
            file.close();
        }
    }
    ~SideFile() {
        if (!path_.isEmpty())
            QFile::remove(path_);
    }
    SideFile(const SideFile&) = delete;
    SideFile& operator=(const SideFile&) = delete;

    /// Empty when no file can be made in the target's folder.
    const QString& Path() const { return path_; }
    /// Starts from the target's bytes, for a writer that appends.
    bool CopyTarget() {
        if (!QFile::exists(target_))
            return true; // nothing to append to: the writer starts a new file
        QFile::remove(path_);
        return QFile::copy(target_, path_);
    }
    /// The written file takes the target's name (replacing it in one step).
    bool Commit() {
        if (QFile::exists(target_))
            QFile::setPermissions(path_, QFile::permissions(target_));
        else
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                             QFile::ReadOther);
        if (std::rename(QFile::encodeName(path_).constData(),
                        QFile::encodeName(target_).constData()) != 0)
            return false;
        path_.clear();
        return true;
    }

private:
    QString target_;
    QString path_;
};

} // namespace

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

void TPDBMultiImage::SaveAs(const char* kind, EngineFormat format, const QString& fileName) {
    CheckSavePreconditions(true);
    platform::WaitCursor wait;
    ReportProgress(0);
    imaging::WriteOptions options;
    options.Depth = imaging::WriteBitsForFormat(QString::fromLatin1(kind), ImageWriteRes, this);
    options.Quality = jpegQuality_;
    options.Smoothing = jpegSmooth_;
    options.Interlaced = PNGInterLaced;
    options.Compression = imaging::TiffCompressionCode(TifSaveCompress);
    options.Append = format == EngineFormat::Tiff && TiffAppend;
    options.Label = fileName; // the progress names the user's file, not the side file
    SideFile side(fileName);
    bool ok = false;
    if (side.Path().isEmpty()) {
        imaging::EngineBinding::Instance().SetLastEngineError(
            -1, QStringLiteral("Cannot create a file in the folder of ") + fileName);
    } else if (options.Append && !side.CopyTarget()) {
        imaging::EngineBinding::Instance().SetLastEngineError(
            -1, QStringLiteral("Cannot read ") + fileName + QStringLiteral(" to add a page"));
    } else {
        ok = imaging::WriteBitmapFile(format, side.Path(), options, Picture.Bitmap(), this,
                                      &ProgressThunk);
        if (ok && !side.Commit()) {
            ok = false;
            imaging::EngineBinding::Instance().SetLastEngineError(
                -1, QStringLiteral("Cannot replace ") + fileName);
        }
    }
    if (!ok) {
        ReportEngineError();
        return;
    }
    GetBlobInfo();
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
}

void TPDBMultiImage::SaveAsBMP(const QString& fileName) {
    SaveAs("bmp", EngineFormat::Bmp, fileName);
}
void TPDBMultiImage::SaveAsGIF(const QString& fileName) {
    SaveAs("gif", EngineFormat::Gif, fileName);
}
void TPDBMultiImage::SaveAsTIF(const QString& fileName) {
    SaveAs("tif", EngineFormat::Tiff, fileName);
}
void TPDBMultiImage::SaveAsPCX(const QString& fileName) {
    SaveAs("pcx", EngineFormat::Pcx, fileName);
}
void TPDBMultiImage::SaveAsTGA(const QString& fileName) {
    SaveAs("tga", EngineFormat::Tga, fileName);
}
void TPDBMultiImage::SaveAsEPS(const QString& fileName) {
    SaveAs("eps", EngineFormat::Eps, fileName);
}
void TPDBMultiImage::SaveAsPNG(const QString& fileName) {
    SaveAs("png", EngineFormat::Png, fileName);
}
void TPDBMultiImage::SaveAsJPG(const QString& fileName) {
    SaveAs("jpg", EngineFormat::Jpeg, fileName);
}

void TPDBMultiImage::SaveBlobToFile(const QString& fileName) {
    CheckSavePreconditions(false);
    platform::WaitCursor wait;
    const QByteArray bytes = BlobBytes();
    SideFile side(fileName);
    QFile file(side.Path());
    if (side.Path().isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        throw imaging::ErrorInvalid(QStringLiteral("Cannot write ") + fileName);
    }
    file.close();
    if (!side.Commit())
        throw imaging::ErrorInvalid(QStringLiteral("Cannot replace ") + fileName);
    GetBlobInfo();
    if (OnFinishedLoadSave)
        OnFinishedLoadSave(this);
}

} // namespace controls
