// SPDX-License-Identifier: MIT
#include "engines/crde2000/eps.h"

#include "engines/shared/codes.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace crde {

bool IsEps(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 4)
        return false;
    if (std::memcmp(data, "%!PS", 4) == 0)
        return true;
    return data[0] == 0xC5 && data[1] == 0xD0 && data[2] == 0xD3 && data[3] == 0xC6;
}

bool ParseEps(const std::uint8_t* data, std::size_t size, EpsLayout* layout) {
    if (!IsEps(data, size))
        return false;
    Reader in(data, size);
    layout->start = 0;
    layout->length = size;
    if (data[0] == 0xC5) {
        if (size < 30)
            return false;
        layout->start = in.U32(4);
        layout->length = in.U32(8);
        if (layout->start > size || layout->length > size - layout->start)
            return false;
    }
    // The boxes are in the header comments; only the first 64 KiB are searched.
    const char* text = reinterpret_cast<const char*>(data + layout->start);
    const std::size_t span = std::min<std::size_t>(layout->length, 65536);
    const std::string head(text, span);
    auto box = [&head](const char* key, double* w, double* h) {
        std::size_t at = 0;
        while ((at = head.find(key, at)) != std::string::npos) {
            at += std::strlen(key);
            double l, b, r, t;
            const std::size_t end = head.find_first_of("\r\n", at);
            const std::string line =
                head.substr(at, end == std::string::npos ? std::string::npos : end - at);
            if (std::sscanf(line.c_str(), "%lf %lf %lf %lf", &l, &b, &r, &t) == 4 && r > l &&
                t > b && r - l < 1e6 && t - b < 1e6 && l > -1e6 && b > -1e6) {
                *w = r - l;
                *h = t - b;
                return true;
            }
        }
        return false;
    };
    double w = 0, h = 0;
    if (!box("%%HiResBoundingBox:", &w, &h) && !box("%%BoundingBox:", &w, &h))
        return false;
    layout->boxWidth = w;
    layout->boxHeight = h;
    layout->width = static_cast<std::int64_t>(std::floor(w + 0.5));
    layout->height = static_cast<std::int64_t>(std::floor(h + 0.5));
    return layout->width > 0 && layout->height > 0;
}

namespace {

std::string TempFile(const char* suffix) {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/vlmor-eps-XXXXXX" + suffix;
    const int fd = mkstemps(path.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0)
        return {};
    close(fd);
    return path;
}

// Ghostscript runs in a child process that is killed when it takes too long: a PostScript
// program may loop for ever, and the interpreter has no way to be stopped from outside.
constexpr int kRenderSeconds = 10;

// The renderer program lies beside the code that runs this (the engine module in the
// program's folder), or in the build's program folder for the tests that link the codecs.
std::string Renderer() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Renderer), &info) && info.dli_fname) {
        std::string path = info.dli_fname;
        const std::size_t slash = path.rfind('/');
        path = (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
               "/vlmor-eps-render";
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return VLMOR_EPS_RENDERER;
}

bool RunGhostscript(const std::string& input, const std::string& output, double dpi) {
    // Started, not forked: a copy of a process with threads may hold their locks for ever.
    const std::string program = Renderer();
    char resolution[32];
    std::snprintf(resolution, sizeof resolution, "%.4f", dpi);
    char* const args[] = {const_cast<char*>(program.c_str()), const_cast<char*>(input.c_str()),
                          const_cast<char*>(output.c_str()), resolution, nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, args, environ) != 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kRenderSeconds);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::int16_t ReadPpm(const std::string& path, std::int64_t expectW, std::int64_t expectH,
                     HGLOBAL* dib) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return kErrUnsupported;
    // The header: "P6", width, height and the largest value, with comments between.
    auto number = [f](long* out) {
        int c = std::fgetc(f);
        while (c == '#' || std::isspace(c)) {
            if (c == '#')
                while (c != EOF && c != '\n')
                    c = std::fgetc(f);
            c = std::fgetc(f);
        }
        long v = 0;
        int digits = 0;
        while (c >= '0' && c <= '9' && digits < 9) {
            v = v * 10 + (c - '0');
            ++digits;
            c = std::fgetc(f);
        }
        *out = v;
        return digits > 0; // the one blank after the last number is consumed here
    };
    long w = 0, h = 0, maxval = 0;
    const bool magic = std::fgetc(f) == 'P' && std::fgetc(f) == '6';
    const int got = magic && number(&w) && number(&h) && number(&maxval) ? 3 : 0;
    std::int16_t code = kErrBadHeader;
    if (got == 3 && maxval == 255 && w > 0 && h > 0 && w <= expectW + 2 && h <= expectH + 2) {
        // The picture has exactly the size the information reports: a renderer that rounds a
        // side the other way gives a pixel more (cut off) or less (white).
        NewDib out;
        code = out.Create(expectW, expectH, 24, 0);
        std::vector<std::uint8_t> line(3 * std::size_t(w));
        const long copied = long(std::min<std::int64_t>(w, expectW));
        for (long y = 0; code == kOk && y < expectH; ++y) {
            std::uint8_t* row = out.Row(y);
            std::memset(row, 0xFF, 3 * std::size_t(expectW));
            if (y >= h)
                continue;
            if (std::fread(line.data(), 3, std::size_t(w), f) != std::size_t(w)) {
                code = kErrTruncated;
                break;
            }
            for (long x = 0; x < copied; ++x) {
                row[3 * x] = line[3 * x + 2];
                row[3 * x + 1] = line[3 * x + 1];
                row[3 * x + 2] = line[3 * x];
            }
        }
        if (code == kOk)
            *dib = out.Release();
    }
    std::fclose(f);
    return code;
}

} // namespace

std::int16_t ReadEps(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    return ReadEpsAt(data, size, 1, dib);
}

std::int16_t ReadEpsAt(const std::uint8_t* data, std::size_t size, double times, HGLOBAL* dib) {
    *dib = nullptr;
    if (!std::isfinite(times) || times < 1 || times > kMaxRenderTimes)
        return kErrBadArgument;
    EpsLayout layout;
    if (!IsEps(data, size))
        return kErrNotThisFormat;
    if (!ParseEps(data, size, &layout))
        return kErrBadHeader;
    // At 72 dots per inch the picture keeps the size the information reports.
    const std::int64_t w = times == 1 ? layout.width : std::llround(layout.boxWidth * times);
    const std::int64_t h = times == 1 ? layout.height : std::llround(layout.boxHeight * times);
    if (w <= 0 || h <= 0 || std::uint64_t(w) * std::uint64_t(h) > kMaxPixels)
        return kErrTooLarge;
    const std::string input = TempFile(".eps"), output = TempFile(".ppm");
    if (input.empty() || output.empty())
        return kErrNoMemory;
    std::int16_t code = kErrUnsupported;
    if (std::FILE* f = std::fopen(input.c_str(), "wb")) {
        const bool written = std::fwrite(data + layout.start, 1, layout.length, f) == layout.length;
        std::fclose(f);
        if (written && RunGhostscript(input, output, 72 * times))
            code = ReadPpm(output, w, h, dib);
    }
    std::remove(input.c_str());
    std::remove(output.c_str());
    return code;
}

std::int16_t WriteEps(const DibView& dib, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0)
        return kErrBadArgument;
    const std::int64_t w = dib.Width(), h = dib.Height();
    const bool grey = dib.Bits() <= 8 && dib.GreyTable();
    std::string text;
    char line[1024];
    std::snprintf(line, sizeof line,
                  "%%!PS-Adobe-3.0 EPSF-3.0\n%%%%Creator: Vellamore imaging engine\n"
                  "%%%%BoundingBox: 0 0 %lld %lld\n%%%%LanguageLevel: 2\n%%%%Pages: 1\n"
                  "%%%%EndComments\n%%%%Page: 1 1\ngsave\n%lld %lld scale\n"
                  "/line %lld string def\n%lld %lld 8 [%lld 0 0 -%lld 0 %lld]\n"
                  "{currentfile line readhexstring pop} %s\n",
                  (long long)w, (long long)h, (long long)w, (long long)h,
                  (long long)(grey ? w : 3 * w), (long long)w, (long long)h, (long long)w,
                  (long long)h, (long long)h, grey ? "image" : "false 3 colorimage");
    text = line;
    out.assign(text.begin(), text.end());
    static const char hex[] = "0123456789abcdef";
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(w) * 3);
    for (std::int64_t y = 0; y < h; ++y) {
        dib.RowBgr(y, bgr.data());
        int column = 0;
        for (std::int64_t x = 0; x < w; ++x) {
            const std::uint8_t* p = &bgr[3 * x];
            const std::uint8_t values[3] = {p[2], p[1], p[0]};
            for (int k = 0; k < (grey ? 1 : 3); ++k) {
                out.push_back(static_cast<std::uint8_t>(hex[values[k] >> 4]));
                out.push_back(static_cast<std::uint8_t>(hex[values[k] & 15]));
                if (++column == 36) {
                    out.push_back('\n');
                    column = 0;
                }
            }
        }
        out.push_back('\n');
    }
    const std::string tail = "grestore\nshowpage\n%%EOF\n";
    out.insert(out.end(), tail.begin(), tail.end());
    return kOk;
}

std::int16_t EpsFacts(const Reader& in, StreamFacts* f) {

    EpsLayout layout;
    if (!ParseEps(in.Here(), in.Size(), &layout))
        return kErrBadHeader;
    f->width = layout.width;
    f->height = layout.height;
    f->bits = 24;
    f->compression = "POSTSCRIPT";
    return kOk;
}

} // namespace crde
