// SPDX-License-Identifier: MIT
#include "tools/catalog/picture_kind.h"

#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"

namespace catalog {

QString PictureProblem(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {}; // a record without a picture
    imaging::BlobInfo info;
    try {
        const imaging::Detection found = imaging::DetectBlob(bytes, 0, info);
        if (imaging::FormatOfLoadName(found.loadName))
            return {};
        const QString reason = imaging::EngineBinding::Instance().LastEngineError().Text;
        return QStringLiteral("is no picture the catalogue can show") +
               (found.engineError && !reason.isEmpty() ? QStringLiteral(" (%1)").arg(reason)
                                                       : QString());
    } catch (const imaging::ErrorInvalid& e) {
        return QStringLiteral("cannot be checked: %1").arg(e.Message());
    }
}

} // namespace catalog
