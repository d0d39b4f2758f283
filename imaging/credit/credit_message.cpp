// SPDX-License-Identifier: MIT
#include "imaging/credit/credit_message.h"

#include "platform/core/errors.h"

#include <QFile>
#include <QIODevice>

#include <cmath>
#include <cstring>
#include <limits>

namespace imaging {

namespace {

// A CMS text is read up to this many bytes; an SCM text whole.
constexpr qint64 kCreditBytes = 65526;

// The text as the parsers see it: bytes in the system's 8-bit code page, ending at the first
// zero byte.
QString MessageText(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

QByteArray ReadFromStart(QIODevice& stream, qint64 limit) {
    if (!stream.isOpen() && !stream.open(QIODevice::ReadOnly))
        return {};
    stream.seek(0);
    return limit < 0 ? stream.readAll() : stream.read(limit);
}

// One tagged field of an SCM text: missing when either tag does not occur; empty when the
// second tag does not start behind the end of the first.
struct Field {
    bool present = false;
    QString value;
};

Field Extract(const QString& text, const char* open, const char* close) {
    const qsizetype a = text.indexOf(QLatin1String(open));
    const qsizetype b = text.indexOf(QLatin1String(close));
    if (a < 0 || b < 0)
        return {};
    const qsizetype from = a + qsizetype(std::strlen(open));
    return {true, b > from ? text.mid(from, b - from) : QString()};
}

void ApplyScrolling(const QString& text, MessageFont& font, int* speed, QString* message,
                    std::uint32_t* background) {
    // Each field: its value, else (pair missing) the default; an empty value changes nothing.
    auto apply = [&](const char* open, const char* close, auto set, auto missing) {
        const Field f = Extract(text, open, close);
        if (!f.present)
            missing();
        else if (!f.value.isEmpty())
            set(f.value);
        return f;
    };
    apply(
        "/fc|", "/fh|", [&](const QString& v) { font.Colour = std::uint32_t(StrToInt(v)); },
        [&] { font.Colour = 255; });
    apply(
        "/fh|", "/fn|", [&](const QString& v) { font.Height = StrToInt(v); },
        [&] { font.Height = -13; });
    apply(
        "/fn|", "/fs|", [&](const QString& v) { font.Name = v; },
        [&] { font.Name = QStringLiteral("SYSTEM"); });
    apply(
        "/fs|", "/ft|", [&](const QString& v) { font.SetSize(StrToInt(v)); }, [] {});
    const Field style = apply(
        "/ft|", "/bc|", [&](const QString& v) { font.SetStyle(v); }, [] {});
    if (style.present && style.value.isEmpty())
        font.SetStyle(QString()); // a style field present but empty sets every flag off
    apply(
        "/bc|", "/sp|", [&](const QString& v) { *background = std::uint32_t(StrToInt(v)); },
        [&] { *background = 128; });
    apply(
        "/sp|", "/sm|", [&](const QString& v) { *speed = StrToInt(v); }, [&] { *speed = 1; });
    apply(
        "/sm|", "/eo|", [&](const QString& v) { *message = v; },
        [&] { *message = QStringLiteral(" Invallid message format ! "); });
}

void ApplyCredit(const QString& text, MessageFont& font, int* speed, QStringList* lines,
                 std::uint32_t* background) {
    lines->clear();
    const QStringList all = SplitLines(text);
    auto line = [&](int index) -> const QString& {
        if (index >= all.size())
            throw platform::Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
        return all[index];
    };
    font.Colour = std::uint32_t(StrToInt(line(1)));
    font.Height = StrToInt(line(2));
    font.Name = line(3);
    font.SetSize(StrToInt(line(4)));
    font.SetStyle(line(5));
    *background = std::uint32_t(StrToInt(line(6)));
    *speed = StrToInt(line(7));
    for (qsizetype i = 8; i < all.size(); ++i)
        lines->append(all[i]);
}

} // namespace

int MessageFont::Size() const {
    // The classic conversion: points = -height × 72 / resolution, rounded.
    return -static_cast<int>(std::lround(double(Height) * 72.0 / PixelsPerInch));
}

void MessageFont::SetSize(int points) {
    Height = -static_cast<int>(std::lround(double(points) * PixelsPerInch / 72.0));
}

void MessageFont::SetStyle(const QString& flags) {
    auto on = [&](int i) { return i < flags.size() && flags[i] == u'1'; };
    Bold = on(0);
    Italic = on(1);
    Underline = on(2);
    StrikeOut = on(3);
}

QFont MessageFont::ToQFont() const {
    QFont f(Name);
    f.setPixelSize(std::max(1, std::abs(Height)));
    f.setBold(Bold);
    f.setItalic(Italic);
    f.setUnderline(Underline);
    f.setStrikeOut(StrikeOut);
    return f;
}

int StrToInt(const QString& text) {
    auto invalid = [&] {
        return platform::Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
    };
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        throw invalid();
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = text[i].isDigit() && text[i].unicode() < 128 ? text[i].unicode() - '0'
                          : base == 16 && text[i].toLower() >= u'a' && text[i].toLower() <= u'f'
                              ? text[i].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0 || digit >= base)
            throw invalid();
        value = value * base + digit;
        // Hexadecimal covers the whole 32 bits (colours such as $80000005); decimal the range.
        const std::int64_t limit =
            base == 16 ? 0xFFFFFFFFll : std::int64_t(std::numeric_limits<int>::max()) + negative;
        if (value > limit)
            throw invalid();
    }
    if (base == 16 && !negative)
        return static_cast<int>(static_cast<std::uint32_t>(value));
    return static_cast<int>(negative ? -value : value);
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype start = at;
        while (at < text.size() && text[at] != u'\r' && text[at] != u'\n')
            ++at;
        lines << text.mid(start, at - start);
        if (at < text.size() && text[at] == u'\r')
            ++at;
        if (at < text.size() && text[at] == u'\n')
            ++at;
    }
    return lines;
}

bool ParseScrollingMessage(const QString& fileName, MessageFont& font, int* speed, QString* text,
                           std::uint32_t* background) {
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    return ParseScrollingMessage(static_cast<QIODevice&>(file), font, speed, text, background);
}

bool ParseScrollingMessage(QIODevice& stream, MessageFont& font, int* speed, QString* text,
                           std::uint32_t* background) {
    ApplyScrolling(MessageText(ReadFromStart(stream, -1)), font, speed, text, background);
    return true;
}

bool ParseCreditMessage(const QString& fileName, MessageFont& font, int* speed, QStringList* lines,
                        std::uint32_t* background) {
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    return ParseCreditMessage(static_cast<QIODevice&>(file), font, speed, lines, background);
}

bool ParseCreditMessage(QIODevice& stream, MessageFont& font, int* speed, QStringList* lines,
                        std::uint32_t* background) {
    ApplyCredit(MessageText(ReadFromStart(stream, kCreditBytes)), font, speed, lines, background);
    return true;
}

} // namespace imaging
