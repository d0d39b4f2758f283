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
/* Scanning through SANE. The "window" of selectsource and aquiredibimage is a host the
   caller fills: its dialogs and the device remembered from the last choice. */
typedef struct CrdeScanDevice {
    const char* name; /* what SANE opens, "test:0" */
    const char* vendor;
    const char* model;
    const char* type;
} CrdeScanDevice;

/* The scan settings a device offers, read from its options; the host changes the chosen
   values (mode, resolution, area) before the scan. Lengths are millimetres. */
typedef struct CrdeScanSettings {
    int32_t modeCount;
    const char* const* modes;
    int32_t mode;            /* index into modes; -1 when the device has no mode option */
    int32_t resolutionCount; /* a list of resolutions when above 0, else a range */
    const double* resolutions;
    double resolutionMin, resolutionMax, resolutionStep;
    double resolution; /* dots per inch; 0 when the device has no resolution option */
    int32_t hasArea;
    double areaLimit[4]; /* left, top, right, bottom the device can scan */
    double area[4];      /* the chosen area */
} CrdeScanSettings;

/* A quick scan of the whole area at a low resolution with the settings' mode, for the
   host's preview; none on failure. The DIB is the caller's. */
typedef HGLOBAL (*CrdeScanPreview)(void* session, const CrdeScanSettings* settings);

typedef struct CrdeScanHost {
    void* context;
    /* In: the device remembered ("" for none); out of selectsource: the device chosen. */
    char device[256];
    /* Shows the devices; the index chosen, or -1 when the user cancels. */
    int32_t (*choose_device)(void* context, const CrdeScanDevice* devices, int32_t count,
                             int32_t current);
    /* Shows the scan settings of the device; 1 to scan, 0 when the user cancels. Null:
       the device's own settings are used. */
    int32_t (*scan_dialog)(void* context, const char* device, CrdeScanSettings* settings,
                           CrdeScanPreview preview, void* session);
} CrdeScanHost;

/* selectsource: 1 when a device was chosen, 0 when the user cancelled, below 0 a failure
   (no device). */
typedef int16_t (*CrdeSelectSource)(CrdeScanHost* host, int16_t zero);
/* aquiredibimage: 1 with a new DIB at the depth (0 keeps the scan's own), 0 without one
   when the user cancelled, below 0 a failure. */
typedef int16_t (*CrdeAcquire)(CrdeScanHost* host, int16_t depth, int16_t dither, int16_t zero1,
                               HGLOBAL* dib, void* palette, void* user, CrdeProgress cb,
                               int16_t zero);

#ifdef __cplusplus
}
#endif
