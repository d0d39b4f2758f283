// SPDX-License-Identifier: MIT
#pragma once

// The imaging engine's exports. The engine is loaded at run time; callers use these types
// for the entries they look up by name and never link the module.

#include "platform/memory/global_memory.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Progress: called with 0..100 and the caller's pointer; returning 0 stops the operation.
typedef int16_t (*CrdeProgress)(int16_t progress, void* user);

// Readers from memory: the new DIB is the caller's.
typedef int16_t (*CrdeReadJpegStream)(const void* data, int32_t size, int16_t depth, int16_t one,
                                      int16_t dither, HGLOBAL* dib, void* palette, void* user,
                                      CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeReadStreamPal)(const void* data, int32_t size, int16_t depth, int16_t dither,
                                     HGLOBAL* dib, void* palette, void* user, CrdeProgress cb,
                                     int16_t zero);
typedef int16_t (*CrdeReadStream)(const void* data, int32_t size, int16_t depth, int16_t dither,
                                  HGLOBAL* dib, void* user, CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeReadStreamPage)(const void* data, int32_t size, int16_t depth, int16_t dither,
                                      int16_t page, HGLOBAL* dib, void* user, CrdeProgress cb,
                                      int16_t zero);
/// A drawing: the "bitmap" is an uncompressed DIB handle, the palette a handle of its colour
/// table (or none); both are the caller's.
typedef int16_t (*CrdeReadDrawingStream)(const void* data, int32_t size, int16_t depth,
                                         int16_t dither, HGLOBAL* bitmap, HGLOBAL* palette,
                                         void* user, CrdeProgress cb, int16_t zero);

// Stream information.
typedef int16_t (*CrdeStreamInfo)(const void* data, int32_t size, char* format, int16_t* width,
                                  int16_t* height, int16_t* bits, int16_t* extraA, int16_t* extraB,
                                  char* compression, int16_t zero);
typedef int16_t (*CrdeTiffInfoStream)(const void* data, int32_t size, int16_t page, int16_t* width,
                                      int16_t* height, int16_t* compression, int32_t* unused,
                                      int16_t* pages, int16_t* bits);
typedef int16_t (*CrdeDrawingInfoStream)(const void* data, int32_t size, int16_t* width,
                                         int16_t* height, int16_t* bits);

// Writers to files (name at most 510 characters) and to memory (buffer of *size bytes;
// *size becomes the count written).
typedef int16_t (*CrdeWriteFile)(const char* file, int16_t depth, HGLOBAL dib, void* user,
                                 CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeWriteJpegFile)(const char* file, int16_t quality, int16_t smoothing,
                                     int16_t depth, HGLOBAL dib, void* user, CrdeProgress cb,
                                     int16_t zero);
typedef int16_t (*CrdeWritePngFile)(const char* file, int16_t depth, int16_t interlaced,
                                    HGLOBAL dib, void* user, CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeWriteTiffFile)(const char* file, int16_t compression, int16_t depth,
                                     int16_t append, HGLOBAL dib, void* user, CrdeProgress cb,
                                     int16_t zero);
typedef int16_t (*CrdeWriteTgaFile)(const char* file, int16_t depth, int16_t rle, int16_t zero1,
                                    HGLOBAL dib, void* user, CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeWriteStream)(void* buffer, int32_t* size, int16_t depth, HGLOBAL dib,
                                   void* user, CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeWriteJpegStream)(void* buffer, int32_t* size, int16_t quality,
                                       int16_t smoothing, int16_t depth, HGLOBAL dib, void* user,
                                       CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeWritePngStream)(void* buffer, int32_t* size, int16_t depth,
                                      int16_t interlaced, HGLOBAL dib, void* user, CrdeProgress cb,
                                      int16_t zero);
typedef int16_t (*CrdeWriteTgaStream)(void* buffer, int32_t* size, int16_t depth, int16_t rle,
                                      int16_t zero1, HGLOBAL dib, void* user, CrdeProgress cb,
                                      int16_t zero);
typedef int16_t (*CrdeWriteTiffStream)(void** buffer, int32_t* size, int16_t compression,
                                       int16_t depth, int16_t append, HGLOBAL dib, void* user,
                                       CrdeProgress cb, int16_t zero);

// File readers and information.
typedef int16_t (*CrdeReadFile)(const char* file, int16_t depth, int16_t dither, int16_t page,
                                HGLOBAL* dib, void* user, CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeReadDrawingFile)(const char* file, int16_t depth, int16_t dither,
                                       HGLOBAL* bitmap, HGLOBAL* palette, void* user,
                                       CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeFileInfo)(const char* file, char* format, int16_t* width, int16_t* height,
                                int16_t* bits, int16_t* extraA, int16_t* extraB, char* compression,
                                int16_t zero);
typedef int16_t (*CrdeTiffInfoFile)(const char* file, int16_t page, int16_t* width, int16_t* height,
                                    int16_t* compression, int32_t* unused, int16_t* pages,
                                    int16_t* bits);
typedef int16_t (*CrdeDrawingInfoFile)(const char* file, int16_t* width, int16_t* height,
                                       int16_t* bits);

// TIFF pages and tags. Tag texts are "number=value" lines; a stream result goes into a
// buffer of *size bytes and *size becomes the count written.
typedef int16_t (*CrdeReadTagFile)(const char* file, int16_t page, int32_t tag, char* value,
                                   int32_t capacity);
typedef int16_t (*CrdeReadTagStream)(const void* data, int32_t size, int16_t page, int32_t tag,
                                     char* value, int32_t capacity);
typedef int16_t (*CrdeTagsFile)(const char* file, int16_t page, char* text, int32_t capacity);
typedef int16_t (*CrdeTagsStream)(const void* data, int32_t size, int16_t page, char* text,
                                  int32_t capacity);
typedef int16_t (*CrdePackFile)(const char* file);
typedef int16_t (*CrdePackStream)(const void* data, int32_t size, void* out, int32_t* outSize);
typedef int16_t (*CrdeDeletePageFile)(const char* file, int16_t page);
typedef int16_t (*CrdeDeletePageStream)(const void* data, int32_t size, int16_t page, void* out,
                                        int32_t* outSize);
typedef int16_t (*CrdeReplacePageFile)(const char* file, int16_t page, int16_t compression,
                                       HGLOBAL dib, void* user, CrdeProgress cb, int16_t zero);
typedef int16_t (*CrdeReplacePageStream)(const void* data, int32_t size, int16_t page,
                                         int16_t compression, HGLOBAL dib, void* out,
                                         int32_t* outSize, void* user, CrdeProgress cb,
                                         int16_t zero);

// Depth conversion of a locked DIB into a new handle (none on failure).
typedef HGLOBAL (*CrdeConvert)(const void* lockedDib);
/// The "device bitmap" of a locked DIB: an uncompressed DIB handle, and its colour table as
/// a handle (none without one); both are the caller's.
typedef int16_t (*CrdeDibToDdb)(const void* lockedDib, HGLOBAL* bitmap, HGLOBAL* palette);

/// The text of a result code, as the engine's string resources would give it.
typedef const char* (*CrdeErrorText)(int16_t code);
#ifdef __cplusplus
}
#endif
