// SPDX-License-Identifier: MIT
#include "engines/crde2000/stroke_font.h"

#include <cctype>
#include <cstring>

namespace crde {

namespace {

// Each glyph is a list of strokes separated by blanks; a stroke is a run of points written
// as two digits, x then y.
const char* Glyph(char c) {
    switch (c) {
    case 'A':
        return "002640 1333";
    case 'B':
        return "00063645443303 3342413000";
    case 'C':
        return "4536160501103041";
    case 'D':
        return "00063645413000";
    case 'E':
        return "40000646 0333";
    case 'F':
        return "000646 0333";
    case 'G':
        return "45361605011030414323";
    case 'H':
        return "0006 4046 0343";
    case 'I':
        return "1636 2620 1030";
    case 'J':
        return "4641301001";
    case 'K':
        return "0006 4602 1340";
    case 'L':
        return "064000";
    case 'M':
        return "0006234640";
    case 'N':
        return "00064046";
    case 'O':
        return "100105163645413010";
    case 'P':
        return "00063645443303";
    case 'Q':
        return "100105163645413010 2240";
    case 'R':
        return "00063645443303 2340";
    case 'S':
        return "453616050413334241301001";
    case 'T':
        return "0646 2620";
    case 'U':
        return "060110304146";
    case 'V':
        return "062046";
    case 'W':
        return "0610233046";
    case 'X':
        return "0046 0640";
    case 'Y':
        return "062346 2320";
    case 'Z':
        return "06464000";
    case '0':
        return "100105163645413010 4105";
    case '1':
        return "152620 1030";
    case '2':
        return "05163645440040";
    case '3':
        return "05163645443313 334241301001";
    case '4':
        return "30360242";
    case '5':
        return "4606033342413000";
    case '6':
        return "4536160501103041423303";
    case '7':
        return "064610";
    case '8':
        return "13040516364544331302011030414233";
    case '9':
        return "0110304145361605041343";
    case '-':
        return "0333";
    case '+':
        return "0343 2125";
    case '=':
        return "0242 0444";
    case '.':
        return "2021";
    case ',':
        return "2110";
    case ':':
        return "2122 2425";
    case '/':
        return "0046";
    case '\'':
        return "2526";
    default:
        return "";
    }
}

} // namespace

void StrokeGlyph(char c, const std::function<void(double, double, double, double)>& line) {
    const char* g = Glyph(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    const std::size_t n = std::strlen(g);
    std::size_t i = 0;
    while (i < n) {
        std::size_t end = i;
        while (end < n && g[end] != ' ')
            ++end;
        for (std::size_t p = i; p + 3 < end; p += 2)
            line(g[p] - '0', g[p + 1] - '0', g[p + 2] - '0', g[p + 3] - '0');
        i = end + 1;
    }
}

} // namespace crde
