// SPDX-License-Identifier: MIT
#include "platform/core/text_case.h"

#include <QLatin1StringView>
#include <QStringView>
#include <QUtf8StringView>
#include <type_traits>

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

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

template <class Char> bool ContainsUpper(const Char* text, qsizetype n, QStringView upper) {
    const qsizetype m = upper.size();
    if (m == 0)
        return true;
    const auto* needle = reinterpret_cast<const char16_t*>(upper.data());
    auto at = [text](qsizetype i) {
        return Upper(static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(text[i])));
    };
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (at(i) != needle[0])
            continue;
        qsizetype k = 1;
        while (k < m && at(i + k) == needle[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

} // namespace

bool UpperCaseContains(QAnyStringView text, QStringView upper) {
    return text.visit([upper](auto view) {
        using View = decltype(view);
        if constexpr (std::is_same_v<View, QStringView>)
            return ContainsUpper(reinterpret_cast<const char16_t*>(view.data()), view.size(),
                                 upper);
        else if constexpr (std::is_same_v<View, QLatin1StringView>)
            return ContainsUpper(view.data(), view.size(), upper);
        else
            return UpperCaseContains(QString(view.toString()), upper);
    });
}

QString UpperCase(const QString& text) {
    return ShiftLetters<u'a', u'A'>(text);
}

QString LowerCase(const QString& text) {
    return ShiftLetters<u'A', u'a'>(text);
}

} // namespace platform
