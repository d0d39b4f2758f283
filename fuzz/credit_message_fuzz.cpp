// SPDX-License-Identifier: MIT
// Hostile credit-message texts for one of the two parsers (VLMOR_FUZZ_TARGET "scm" or "cms"):
// each fills its outputs or raises a platform error, never crashes.
#include "imaging/credit/credit_message.h"
#include "platform/core/errors.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    imaging::MessageFont font;
    int speed = 0;
    std::uint32_t background = 0;
    try {
        if (std::strcmp(VLMOR_FUZZ_TARGET, "scm") == 0) {
            QString text;
            imaging::ParseScrollingMessage(buffer, font, &speed, &text, &background);
        } else {
            QStringList lines;
            imaging::ParseCreditMessage(buffer, font, &speed, &lines, &background);
        }
        (void)font.ToQFont();
    } catch (const platform::Exception&) {
    }
    return 0;
}
