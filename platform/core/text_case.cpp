// SPDX-License-Identifier: MIT
#include "platform/core/text_case.h"

namespace platform {

namespace {

template <char16_t From, char16_t To> QString ShiftLetters(const QString& text) {
    // Only copy when a letter changes; most tab captions and search texts need one pass.
    qsizetype i = 0;
    const qsizetype n = text.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    while (i < n && !(src[i] >= From && src[i] <= From + 25))
        ++i;
    if (i == n)
        return text;
    QString result = text;
    char16_t* dst = reinterpret_cast<char16_t*>(result.data());
    for (; i < n; ++i) {
        if (dst[i] >= From && dst[i] <= From + 25)
            dst[i] = static_cast<char16_t>(dst[i] - From + To);
    }
    return result;
}

} // namespace

QString UpperCase(const QString& text) {
    return ShiftLetters<u'a', u'A'>(text);
}

QString LowerCase(const QString& text) {
    return ShiftLetters<u'A', u'a'>(text);
}

} // namespace platform
