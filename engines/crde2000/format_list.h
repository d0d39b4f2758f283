/* SPDX-License-Identifier: MIT */
#pragma once

/* The picture formats of the imaging engine, one row each with named fields, in the order
 * their leading bytes are tested. The engine, its binding, the program and the fuzz build all
 * take what they know of a format from its row: the build reads the rows and generates from
 * them the exports, the engine's codec table, the binding's format enumeration and the fuzz
 * targets (format_rows.h in the build tree, where each export's name appears as it is written
 * here); the program reads them as data. A format is added by one row here and one backend
 * file, <stem>.cpp and <stem>.h (Is<Stem>, <Stem>Facts, Read<Stem>, Write<Stem>).
 *
 * The build reads each field by its name: keep every row's fields in this order, one
 * "name = value" each, without comments or braces inside a row. An export or label of 0 is
 * none.
 * Plain C: no types cross here. */

/* How an export reads: its parameters by kind. */
enum CrdeReadKind {
    CrdeReadJpeg,    /* depth, a scale, dither */
    CrdeReadPalette, /* depth, dither */
    CrdeReadPlain,   /* depth, dither, without a palette handle */
    CrdeReadPage,    /* depth, dither and a page or mode option */
    CrdeReadDrawing, /* a bitmap and a palette */
};
/* How it writes: None, a depth, a depth to a file only, or the format's own options. */
enum CrdeWriteKind {
    CrdeWriteNone,
    CrdeWriteDepth,
    CrdeWriteDepthFile,
    CrdeWriteJpeg,
    CrdeWritePng,
    CrdeWriteTga,
    CrdeWriteTiff,
};
/* The depths a writer takes. */
enum CrdeDepthRule { CrdeDepthAny, CrdeDepthUpTo8, CrdeDepthTga, CrdeDepthJpeg, CrdeDepthTiff };

struct CrdeFormatRow {
    /* The engine's facts. */
    const char* stem;         /* names the backend's functions and the binding's enumerator */
    const char* info;         /* the stream information's format name */
    const char* fuzz;         /* the fuzz target */
    unsigned fuzzMaxLength;   /* its longest input */
    int fuzzDecodes;          /* 0: the fuzz target reads the header facts only */
    const char* streamReader; /* the exports; none where not given */
    enum CrdeReadKind readKind;
    const char* readLabel; /* the progress text of a read */
    const char* fileReader;
    const char* fileWriter;
    const char* streamWriter;
    enum CrdeWriteKind writeKind;
    const char* writeLabel; /* the progress text of a write to memory */
    enum CrdeDepthRule depthRule;
    /* The program's facts. */
    const char* loadName;   /* what detection names it */
    const char* extensions; /* every spelling, upper case, the main one first, space-separated */
    const char* label;      /* the user's label in the file dialogs */
    int loadable;           /* a file of it can be loaded into a record */
    int drawing;            /* a drawing the engine renders (else a picture it decodes) */
    /* Its place (from 1) in the open dialog's entries and "all" patterns, the toolbar's save
     * dialog and the main window's Save As; 0: not there. */
    int openPlace, openAllPlace, toolbarSavePlace, mainSavePlace;
};

static const struct CrdeFormatRow kCrdeFormats[] = {
    {
        .stem = "Bmp",
        .info = "BMP",
        .fuzz = "bmp",
        .fuzzMaxLength = 4096,
        .fuzzDecodes = 1,
        .streamReader = "rdbmpstreamdib",
        .readKind = CrdeReadPalette,
        .readLabel = "BMP Stream",
        .fileReader = "rdbmpfiledib",
        .fileWriter = "wrbmpfiledib",
        .streamWriter = "wrbmpstreamdib",
        .writeKind = CrdeWriteDepth,
        .writeLabel = "BMP Stream",
        .depthRule = CrdeDepthAny,
        .loadName = "BMP",
        .extensions = "BMP",
        .label = "Windows Bitmap",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 1,
        .openAllPlace = 1,
        .toolbarSavePlace = 1,
        .mainSavePlace = 4,
    },
    {
        .stem = "Png",
        .info = "PNG",
        .fuzz = "png",
        .fuzzMaxLength = 16384,
        .fuzzDecodes = 1,
        .streamReader = "rdpngstreamdib",
        .readKind = CrdeReadPalette,
        .readLabel = "PNG Stream",
        .fileReader = "rdpngfiledib",
        .fileWriter = "wrpngfiledib",
        .streamWriter = "wrpngstreamdib",
        .writeKind = CrdeWritePng,
        .writeLabel = "PNG Stream",
        .depthRule = CrdeDepthAny,
        .loadName = "PNG",
        .extensions = "PNG",
        .label = "Portable Graphics",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 6,
        .openAllPlace = 6,
        .toolbarSavePlace = 3,
        .mainSavePlace = 5,
    },
    {
        .stem = "Gif",
        .info = "GIF",
        .fuzz = "gif",
        .fuzzMaxLength = 16384,
        .fuzzDecodes = 1,
        .streamReader = "rdgifstreamdib",
        .readKind = CrdeReadPalette,
        .readLabel = "GIF Stream",
        .fileReader = "rdgiffiledib",
        .fileWriter = "wrgiffiledib",
        .streamWriter = "wrgifstreamdib",
        .writeKind = CrdeWriteDepth,
        .writeLabel = "GIF Stream",
        .depthRule = CrdeDepthUpTo8,
        .loadName = "GIF",
        .extensions = "GIF",
        .label = "Compuserve Gif",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 3,
        .openAllPlace = 3,
        .toolbarSavePlace = 6,
        .mainSavePlace = 6,
    },
    {
        .stem = "Jpeg",
        .info = "JPEG",
        .fuzz = "jpeg",
        .fuzzMaxLength = 16384,
        .fuzzDecodes = 1,
        .streamReader = "rdjpgstreamdib",
        .readKind = CrdeReadJpeg,
        .readLabel = "JPG Stream",
        .fileReader = "rdjpgfiledib",
        .fileWriter = "wrjpgfiledib",
        .streamWriter = "wrjpgstreamdib",
        .writeKind = CrdeWriteJpeg,
        .writeLabel = "JPG Stream",
        .depthRule = CrdeDepthJpeg,
        .loadName = "JPG",
        .extensions = "JPG JPEG",
        .label = "Jpeg",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 4,
        .openAllPlace = 4,
        .toolbarSavePlace = 2,
        .mainSavePlace = 2,
    },
    {
        .stem = "Tiff",
        .info = "TIFF",
        .fuzz = "tiff",
        .fuzzMaxLength = 16384,
        .fuzzDecodes = 1,
        .streamReader = "readtiffiledibstream",
        .readKind = CrdeReadPage,
        .readLabel = "Tiff Stream",
        .fileReader = "readtiffiledib",
        .fileWriter = "writetiffiledib",
        .streamWriter = "writetiffiledibstream",
        .writeKind = CrdeWriteTiff,
        .writeLabel = "Tiff Stream",
        .depthRule = CrdeDepthTiff,
        .loadName = "TIF",
        .extensions = "TIF TIFF",
        .label = "Tagged Image",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 8,
        .openAllPlace = 8,
        .toolbarSavePlace = 4,
        .mainSavePlace = 1,
    },
    {
        .stem = "Pcd",
        .info = "PCD",
        .fuzz = "pcd",
        .fuzzMaxLength = 50000,
        .fuzzDecodes = 1,
        .streamReader = "readpcdfiledibstream",
        .readKind = CrdeReadPage,
        .readLabel = "PCD Stream",
        .fileReader = "readpcdfiledib",
        .fileWriter = 0,
        .streamWriter = 0,
        .writeKind = CrdeWriteNone,
        .writeLabel = 0,
        .depthRule = CrdeDepthAny,
        .loadName = "PCD",
        .extensions = "PCD",
        .label = "Kodak Photo CD",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 9,
        .openAllPlace = 9,
        .toolbarSavePlace = 0,
        .mainSavePlace = 0,
    },
    {
        .stem = "Eps",
        .info = "EPS",
        .fuzz = "eps",
        .fuzzMaxLength = 16384,
        .fuzzDecodes = 0,
        .streamReader = "readepsfiledibstream",
        .readKind = CrdeReadPlain,
        .readLabel = "EPS Stream",
        .fileReader = "readepsfiledib",
        .fileWriter = "writeepsfiledib",
        .streamWriter = 0,
        .writeKind = CrdeWriteDepthFile,
        .writeLabel = 0,
        .depthRule = CrdeDepthAny,
        .loadName = "EPS",
        .extensions = "EPS",
        .label = "Encapsulated PostScript",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 0,
        .openAllPlace = 0,
        .toolbarSavePlace = 8,
        .mainSavePlace = 8,
    },
    {
        .stem = "Pcx",
        .info = "PCX",
        .fuzz = "pcx",
        .fuzzMaxLength = 4096,
        .fuzzDecodes = 1,
        .streamReader = "rdpcxstreamdib",
        .readKind = CrdeReadPalette,
        .readLabel = "PCX Stream",
        .fileReader = "rdpcxfiledib",
        .fileWriter = "wrpcxfiledib",
        .streamWriter = "wrpcxstreamdib",
        .writeKind = CrdeWriteDepth,
        .writeLabel = "PCX Stream",
        .depthRule = CrdeDepthAny,
        .loadName = "PCX",
        .extensions = "PCX",
        .label = "PaintShop Pro",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 5,
        .openAllPlace = 5,
        .toolbarSavePlace = 5,
        .mainSavePlace = 3,
    },
    {
        .stem = "Dxf",
        .info = "DXF",
        .fuzz = "dxf",
        .fuzzMaxLength = 4096,
        .fuzzDecodes = 1,
        .streamReader = "readdxftoddbstream",
        .readKind = CrdeReadDrawing,
        .readLabel = "DXF Blob",
        .fileReader = "readdxftoddb",
        .fileWriter = 0,
        .streamWriter = 0,
        .writeKind = CrdeWriteNone,
        .writeLabel = 0,
        .depthRule = CrdeDepthAny,
        .loadName = "DXF",
        .extensions = "DXF",
        .label = "Drawing Exchange",
        .loadable = 1,
        .drawing = 1,
        .openPlace = 0,
        .openAllPlace = 0,
        .toolbarSavePlace = 0,
        .mainSavePlace = 0,
    },
    {
        .stem = "Tga",
        .info = "TGA",
        .fuzz = "tga",
        .fuzzMaxLength = 4096,
        .fuzzDecodes = 1,
        .streamReader = "readtgafilestreamdib",
        .readKind = CrdeReadPlain,
        .readLabel = "TGA Stream",
        .fileReader = "readtgafiledib",
        .fileWriter = "writetgafiledib",
        .streamWriter = "writetgafilestreamdib",
        .writeKind = CrdeWriteTga,
        .writeLabel = "Targa Stream",
        .depthRule = CrdeDepthTga,
        .loadName = "TGA",
        .extensions = "TGA",
        .label = "Targe Image",
        .loadable = 1,
        .drawing = 0,
        .openPlace = 12,
        .openAllPlace = 12,
        .toolbarSavePlace = 7,
        .mainSavePlace = 7,
    },
};
