/* SPDX-License-Identifier: MIT */
#pragma once

/* The picture formats of the imaging engine, in the order their leading bytes are tested.
 * One row per format; the engine builds its format table and its exports from it, the
 * binding its format enumeration and export names, the fuzz build its targets. A format is
 * added by one row here and one backend file (Is<Stem>, <Stem>Facts, Read<Stem>, Write<Stem>).
 *
 * X(Stem, info name, fuzz target, fuzz max length, fuzz mode (load | facts),
 *   stream reader, read kind, read label, file reader,
 *   file writer, stream writer, write kind, write label, write depth rule)
 *
 * Read kinds: Jpeg, Palette, Plain, Page (a page or mode option), Drawing (bitmap + palette).
 * Write kinds: None, Depth, DepthFile (a file writer only), Jpeg, Png, Tga, Tiff. "-" stands for no
 * export, 0 for no label. Depth rules: Any, UpTo8, Tga, Jpeg, Tiff. Plain C preprocessor: no types
 * cross here. */
#define VLMOR_FORMATS(X)                                                                           \
    X(Bmp, "BMP", bmp, 4096, load, rdbmpstreamdib, Palette, "BMP Stream", rdbmpfiledib,            \
      wrbmpfiledib, wrbmpstreamdib, Depth, "BMP Stream", Any)                                      \
    X(Png, "PNG", png, 16384, load, rdpngstreamdib, Palette, "PNG Stream", rdpngfiledib,           \
      wrpngfiledib, wrpngstreamdib, Png, "PNG Stream", Any)                                        \
    X(Gif, "GIF", gif, 16384, load, rdgifstreamdib, Palette, "GIF Stream", rdgiffiledib,           \
      wrgiffiledib, wrgifstreamdib, Depth, "GIF Stream", UpTo8)                                    \
    X(Jpeg, "JPEG", jpeg, 16384, load, rdjpgstreamdib, Jpeg, "JPG Stream", rdjpgfiledib,           \
      wrjpgfiledib, wrjpgstreamdib, Jpeg, "JPG Stream", Jpeg)                                      \
    X(Tiff, "TIFF", tiff, 16384, load, readtiffiledibstream, Page, "Tiff Stream", readtiffiledib,  \
      writetiffiledib, writetiffiledibstream, Tiff, "Tiff Stream", Tiff)                           \
    X(Pcd, "PCD", pcd, 50000, load, readpcdfiledibstream, Page, "PCD Stream", readpcdfiledib, -,   \
      -, None, 0, Any)                                                                             \
    X(Eps, "EPS", eps, 16384, facts, readepsfiledibstream, Plain, "EPS Stream", readepsfiledib,    \
      writeepsfiledib, -, DepthFile, 0, Any)                                                       \
    X(Pcx, "PCX", pcx, 4096, load, rdpcxstreamdib, Palette, "PCX Stream", rdpcxfiledib,            \
      wrpcxfiledib, wrpcxstreamdib, Depth, "PCX Stream", Any)                                      \
    X(Dxf, "DXF", dxf, 4096, load, readdxftoddbstream, Drawing, "DXF Blob", readdxftoddb, -, -,    \
      None, 0, Any)                                                                                \
    X(Tga, "TGA", tga, 4096, load, readtgafilestreamdib, Plain, "TGA Stream", readtgafiledib,      \
      writetgafiledib, writetgafilestreamdib, Tga, "Targa Stream", Tga)
