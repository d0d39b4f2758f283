// SPDX-License-Identifier: MIT
// The picture document's saving. Nothing the user had is lost: a picture is written to a
// temporary file beside the target and takes the target's name only when the writer
// succeeded, so a failing writer leaves an existing file as it was (a TIFF page is appended to
// a copy of the file). A replaced file keeps its permissions, and a symbolic link stays a link:
// the file it names is replaced. The record's own encoding goes into a zeroed memory block.
#include "controls/imageview/picture_document.h"

#include "imaging/engine/engine_binding.h"
#include "imaging/error_invalid.h"
#include "platform/core/side_file.h"
#include "platform/memory/memory_block.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace controls {

using platform::SideFile;

bool PictureDocument::SaveAs(imaging::EngineFormat format, const QString& fileName,
                             const imaging::WriteOptions& options, Progress progress) const {
    imaging::EngineBinding& engine = imaging::EngineBinding::Instance();
    SideFile side(fileName);
    if (side.Path().isEmpty()) {
        engine.SetLastEngineError(-1, QStringLiteral("Cannot create a file in the folder of ") +
                                          fileName);
        return false;
    }
    if (options.Append && !side.CopyTarget()) {
        engine.SetLastEngineError(-1, QStringLiteral("Cannot read ") + fileName +
                                          QStringLiteral(" to add a page"));
        return false;
    }
    if (!imaging::WriteBitmapFile(format, side.Path(), options, Picture.Bitmap(), progress.User,
                                  progress.Report))
        return false;
    if (!side.Commit()) {
        engine.SetLastEngineError(-1, QStringLiteral("Cannot replace ") + fileName);
        return false;
    }
    return true;
}

void PictureDocument::SaveBytes(const QByteArray& bytes, const QString& fileName) {
    SideFile side(fileName);
    QFile file(side.Path());
    if (side.Path().isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        throw imaging::ErrorInvalid(QStringLiteral("Cannot write ") + fileName);
    }
    file.close();
    if (!side.Commit())
        throw imaging::ErrorInvalid(QStringLiteral("Cannot replace ") + fileName);
}

std::optional<QByteArray> PictureDocument::Encode(imaging::EngineFormat format,
                                                  const imaging::WriteOptions& options,
                                                  const QByteArray& existing,
                                                  Progress progress) const {
    const QImage& image = Picture.Bitmap().Handle();
    const qint64 imageSize = qint64(image.bytesPerLine()) * image.height();
    qint64 capacity = imageSize + (format == imaging::EngineFormat::Tga ? (imageSize + 1) / 2
                                                                        : (imageSize * 2 + 5) / 10);
    capacity += existing.size() + 4096; // room for the headers of a small picture
    // A picture that cannot be stored is said so: left unsaid, a post would go on as if the
    // edit were stored. The block is zeroed: the engine reads a TIFF at its start to add a
    // page, and nothing of the heap may go into the record with it.
    platform::MemoryBlock block;
    if (capacity <= 0x7FFFFFFF)
        block = platform::MemoryBlock::Allocate(std::size_t(capacity));
    if (!block) {
        imaging::EngineBinding::Instance().SetLastEngineError(
            -1, capacity > 0x7FFFFFFF
                    ? QStringLiteral("The picture is too large to be stored in the record")
                    : QStringLiteral("Not enough memory to store the picture"));
        return std::nullopt;
    }
    const platform::BlockLock lock(block.Get());
    auto* buffer = lock.As<char>();
    if (!existing.isEmpty())
        std::memcpy(buffer, existing.constData(), std::size_t(existing.size()));
    auto used = static_cast<std::int32_t>(capacity);
    if (!imaging::WriteBitmapStream(format, buffer, &used, options, Picture.Bitmap(), progress.User,
                                    progress.Report))
        return std::nullopt;
    return QByteArray(buffer, used);
}

} // namespace controls
