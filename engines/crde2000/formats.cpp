// SPDX-License-Identifier: MIT
#include "engines/crde2000/formats.h"

#include "engines/crde2000/format_backends.h"
#include "engines/crde2000/format_rows.h"

#include <cstdlib>
#include <cstring>

namespace crde {

namespace {

// Readers without an option take the uniform shape of the table.
template <std::int16_t (*Read)(const std::uint8_t*, std::size_t, HGLOBAL*)>
std::int16_t NoOption(const std::uint8_t* data, std::size_t size, int, HGLOBAL* dib) {
    return Read(data, size, dib);
}

#define CRDE_READER_Jpeg(Stem) NoOption<Read##Stem>
#define CRDE_READER_Palette(Stem) NoOption<Read##Stem>
#define CRDE_READER_Plain(Stem) NoOption<Read##Stem>
#define CRDE_READER_Drawing(Stem) NoOption<Read##Stem>
#define CRDE_READER_Page(Stem) Read##Stem
#define CRDE_FUZZ_load true
#define CRDE_FUZZ_facts false

#define CRDE_FORMAT_ROW(Stem, name, fuzz, fuzzMax, fuzzMode, streamReader, readKind, readLabel,    \
                        fileReader, fileWriter, streamWriter, writeKind, writeLabel, depthRule)    \
    Format{name,                                                                                   \
           #fuzz,                                                                                  \
           fuzzMax,                                                                                \
           CRDE_FUZZ_##fuzzMode,                                                                   \
           Is##Stem,                                                                               \
           Stem##Facts,                                                                            \
           CRDE_READER_##readKind(Stem)},

const Format kFormats[] = {VLMOR_FORMATS(CRDE_FORMAT_ROW)};

} // namespace

std::span<const Format> Formats() {
    return kFormats;
}

const Format* DetectFormat(const std::uint8_t* data, std::size_t size) {
    for (const Format& format : kFormats)
        if (format.is(data, size))
            return &format;
    return nullptr;
}

const Format& FormatNamed(const char* name) {
    for (const Format& format : kFormats)
        if (std::strcmp(format.name, name) == 0)
            return format;
    std::abort(); // a name outside the list is a fault of the engine's own code
}

const Format* FormatForFuzzTarget(const char* name) {
    for (const Format& format : kFormats)
        if (name && std::strcmp(format.fuzzName, name) == 0)
            return &format;
    return nullptr;
}

} // namespace crde
