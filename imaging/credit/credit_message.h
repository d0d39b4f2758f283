// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>

class QIODevice;

namespace imaging {

/// The font a credit message is drawn with: the properties its texts set. Height is in
/// pixels (negative: the character height, as the classic fonts have it); the size in points
/// is derived from it at the screen's resolution, and setting a size sets the height.
struct MessageFont {
    std::uint32_t Colour = 0; // red in the low byte, then green, then blue; or a system colour
    int Height = -13;
    QString Name = QStringLiteral("MS Sans Serif");
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    int PixelsPerInch = 96;

    int Size() const;
    void SetSize(int points);
    /// Sets the four style flags from a field of up to four characters, each "1" for on.
    void SetStyle(const QString& flags);
    /// The toolkit's font of these properties (pixel size from the height's magnitude).
    QFont ToQFont() const;
};

/// A scrolling message (SCM): its tagged fields set the font, the background colour, the
/// speed and the text. Raises a platform error for a field that is no number.
bool ParseScrollingMessage(const QString& fileName, MessageFont& font, int* speed, QString* text,
                           std::uint32_t* background);
bool ParseScrollingMessage(QIODevice& stream, MessageFont& font, int* speed, QString* text,
                           std::uint32_t* background);

/// A credit-box message (CMS): lines 1 to 7 set the font, background and speed, the lines
/// from 8 on are the credit lines. Raises a platform error for fewer than eight lines or a
/// field that is no number.
bool ParseCreditMessage(const QString& fileName, MessageFont& font, int* speed, QStringList* lines,
                        std::uint32_t* background);
bool ParseCreditMessage(QIODevice& stream, MessageFont& font, int* speed, QStringList* lines,
                        std::uint32_t* background);

/// The classic integer conversion: decimal, or hexadecimal after "$" or "0x", with an optional
/// sign and leading blanks; raises "'%s' is not a valid integer value" otherwise.
int StrToInt(const QString& text);

/// Lines split at CR, LF or CR LF, the way the classic string lists take a text: a break at the
/// very end adds no empty line.
QStringList SplitLines(const QString& text);

} // namespace imaging
