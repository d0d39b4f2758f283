// SPDX-License-Identifier: MIT
// Hostile help files: parsing and rendering every topic never crashes.
#include "platform/core/help_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const auto file = platform::HelpDocument::Parse(
        QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)));
    if (file) {
        for (const auto& topic : file->Topics)
            (void)platform::TopicHtml(topic);
    }
    return 0;
}
