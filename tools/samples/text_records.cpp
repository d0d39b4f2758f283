// SPDX-License-Identifier: MIT
#include "tools/samples/text_records.h"

#include "tools/samples/le_bytes.h"

namespace samples {

QByteArray WelcomeScrollingMessage() {
    return "belisqor/fc|$FFFFFF/fh|-28/fn|Liberation Serif/fs|/ft|1100/bc|$5A2A10/sp|0/"
           "sm|Welcome to the Vellamore clip-art collection: borders, letters, headers, "
           "ornaments and backgrounds for every page/eo|";
}

QByteArray CreditsRollingMessage() {
    QByteArray text;
    for (const char* line :
         {"qorbelis", "$00F0FF", "-20", "Liberation Sans", "14", "1000", "$401010", "0",
          "Vellamore", "", "Pictures drawn for this collection", "Borders and frames",
          "Letters and headers", "Ornaments and backgrounds", "", "Thank you for looking"})
        text += QByteArray(line) + "\r\n";
    return text;
}

QByteArray LicenceRichText() {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs24 "
           "{\\b Vellamore clip art}\\par The pictures of this collection may be used in "
           "printed and electronic work.\\par}";
}

QByteArray WithGraphicFieldHeader(const QByteArray& picture) {
    LeBytes b;
    b.U16(1);      // one picture
    b.U16(0x0100); // of the bitmap type
    b.U32(std::uint32_t(picture.size()));
    b.Bytes(picture);
    return b.Data();
}

} // namespace samples
