// SPDX-License-Identifier: MIT
#include "tests/imaging/emf_fixtures.h"

#include <cstdio>

#include <libEMF/emf.h> // last: it defines min and max as macros

namespace emf_fixtures {

namespace {

template <class Draw> std::vector<char> Write(const std::string& file, Draw draw) {
    FILE* fp = std::fopen(file.c_str(), "wb");
    if (!fp)
        return {};
    RECT frame = {0, 0, 5000, 2500}; // hundredths of a millimetre: 160 x 80 device pixels
    // The description is two texts, each ended by a zero, and one zero more after them.
    static const char kDescription[] = "vellamore\0test\0";
    HDC dc = CreateEnhMetaFileWithFILEA(0, fp, &frame, kDescription);
    draw(dc);
    HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
    std::fclose(fp);
    DeleteEnhMetaFile(metafile);
    std::vector<char> bytes;
    if (FILE* in = std::fopen(file.c_str(), "rb")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(in);
    }
    return bytes;
}

} // namespace

std::vector<char> KnownShapes(const std::string& file) {
    return Write(file, [](HDC dc) {
        HPEN none = CreatePen(PS_NULL, 0, 0);
        SelectObject(dc, none);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        SelectObject(dc, red);
        Rectangle(dc, 10, 10, 70, 40);
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        SelectObject(dc, blue);
        Ellipse(dc, 90, 10, 150, 70);
        HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
        SelectObject(dc, green);
        POINT triangle[] = {{20, 50}, {60, 50}, {40, 75}};
        Polygon(dc, triangle, 3);
        HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
        SelectObject(dc, yellow);
        BeginPath(dc);
        MoveToEx(dc, 110, 40, nullptr);
        POINT curve[] = {{110, 20}, {130, 20}, {130, 40}, {130, 60}, {110, 60}, {110, 40}};
        PolyBezierTo(dc, curve, 6);
        CloseFigure(dc);
        EndPath(dc);
        FillPath(dc);
    });
}

std::vector<char> Text(const std::string& file) {
    return Write(file, [](HDC dc) {
        HPEN none = CreatePen(PS_NULL, 0, 0);
        SelectObject(dc, none);
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        SelectObject(dc, white);
        Rectangle(dc, 0, 0, 160, 80);
        HFONT font =
            CreateFontA(-20, 0, 0, 0, 700, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Liberation Sans");
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        TextOutA(dc, 10, 20, "Vellamore", 9);
    });
}

std::vector<char> DeviceState(const std::string& file) {
    return Write(file, [](HDC dc) {
        HPEN none = CreatePen(PS_NULL, 0, 0);
        SelectObject(dc, none);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, 100, 50, nullptr);
        SetViewportExtEx(dc, 160, 80, nullptr);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        SelectObject(dc, red);
        Rectangle(dc, 0, 0, 50, 25);
        SetMapMode(dc, MM_TEXT);
        XFORM scale = {2.0f, 0.0f, 0.0f, 2.0f, 20.0f, 10.0f};
        SetWorldTransform(dc, &scale);
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        SelectObject(dc, blue);
        Rectangle(dc, 25, 5, 30, 10); // (70, 20)-(80, 30) on the device
        // Modified: a further move by (0, 30), after the scale, then back to none.
        XFORM down = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 15.0f};
        ModifyWorldTransform(dc, &down, MWT_LEFTMULTIPLY);
        HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
        SelectObject(dc, green);
        Rectangle(dc, 25, 5, 30, 10); // (70, 50)-(80, 60) on the device
        const XFORM unused = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}; // libEMF reads it even here
        ModifyWorldTransform(dc, &unused, MWT_IDENTITY);
        Rectangle(dc, 140, 60, 150, 70);
    });
}

std::vector<char> MetricModes(const std::string& file) {
    return Write(file, [](HDC dc) {
        HPEN none = CreatePen(PS_NULL, 0, 0);
        SelectObject(dc, none);
        SetMapMode(dc, MM_LOMETRIC); // tenths of a millimetre, y upwards
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        SelectObject(dc, red);
        Rectangle(dc, 0, 0, 100, -100);
        SetMapMode(dc, MM_HIENGLISH); // thousandths of an inch, y upwards
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        SelectObject(dc, blue);
        Rectangle(dc, 500, 0, 750, -250);
        HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
        SelectObject(dc, green);
        SetMapMode(dc, MM_HIMETRIC); // hundredths of a millimetre
        Rectangle(dc, 0, -1500, 500, -2000);
        SetMapMode(dc, MM_LOENGLISH);    // hundredths of an inch
        Rectangle(dc, 79, -59, 99, -79); // 20 mm is 78.7, 15 mm 59.1 hundredths
        SetMapMode(dc, MM_TWIPS);
        Rectangle(dc, 2268, -850, 2412, -994); // 40 mm is 2268 twips, 15 mm 850
        SetMapMode(dc, MM_ISOTROPIC);
        SetWindowExtEx(dc, 10, 10, nullptr);
        SetViewportExtEx(dc, 20, 40, nullptr);
        Rectangle(dc, 70, 28, 78, 36);
    });
}

} // namespace emf_fixtures
