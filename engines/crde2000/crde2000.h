// SPDX-License-Identifier: MIT
#pragma once

// The imaging engine's exports. The engine is loaded at run time; callers use these types
// for the entries they look up by name and never link the module.
//
// Threads. The readers from memory and from files, the stream and file information, the
// drawing readers, the depth conversions, "CopyDIB", "DibtoDdb" and "errortext" may be called
// from any number of threads at once: they keep nothing between calls (each call's codec
// state, error handlers and temporary files are its own; an EPS picture is rendered by a
// program of its own, started per call), and the blocks they make and lock go through the
// thread-safe memory-block library. Two calls on the same DIB at once must both only read it.
// The writers may run at once on different files, never two on one file.
// The scanner exports and the annotation layer's exports keep state for the process (the
// scanner library's session, the layers of each control) and are called from one thread, the
// program's GUI thread. The module is unloaded only while no call is in progress.

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

/// EPS or DXF drawn again at permille / 1000 (1000 to CRDE_MAX_SCALE_PERMILLE) of its
/// natural size, for a zoomed view or a printer: EPS rendered at that many times 72 dots per
/// inch, DXF with its lines one pixel wide. The new DIB is the caller's.
#define CRDE_MAX_SCALE_PERMILLE 16000
typedef int16_t (*CrdeReadScaledStream)(const void* data, int32_t size, int16_t depth,
                                        int16_t dither, int32_t permille, HGLOBAL* dib, void* user,
                                        CrdeProgress cb);

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

/* Annotations: objects on a control's picture, kept per control in picture pixels. The engine
   draws them through a canvas of the host's (a painter on the window or on a bitmap).
   Colours are 0x00BBGGRR. */
typedef struct CrdeAnnoCanvas {
    void* context;
    /* A line through `count` points (x, y pairs); `closed` joins the last to the first. */
    void (*polyline)(void* context, const int32_t* xy, int32_t count, int32_t closed,
                     uint32_t colour, int32_t width);
    /* kind 0 a rectangle, 1 an ellipse; fill 0 the outline at the width, 1 solid, 2 a
       see-through highlight. */
    void (*shape)(void* context, int32_t kind, int32_t left, int32_t top, int32_t right,
                  int32_t bottom, uint32_t colour, int32_t width, int32_t fill);
    /* Text from its top left, in the font at a height in pixels. */
    void (*text)(void* context, int32_t x, int32_t y, const char* utf8, const char* font,
                 int32_t pixels, uint32_t colour);
    /* The selection frame, dotted over whatever is below. */
    void (*focus)(void* context, int32_t left, int32_t top, int32_t right, int32_t bottom);
} CrdeAnnoCanvas;

typedef struct CrdeAnnoMenuItem {
    int32_t id;
    const char* text;
    int32_t checked;
} CrdeAnnoMenuItem;

/* The control's five callbacks, then what the layer needs of the window. Each of the five
   returns 1 when it was given a control. */
typedef struct CrdeAnnoCallbacks {
    int16_t (*custom_draw)(void* control, void* dc, const char* name, int32_t x, int32_t y,
                           int32_t xx, int32_t yy);
    int16_t (*hard_draw)(void* control, void* bitmap, const char* name, int32_t x, int32_t y,
                         int32_t xx, int32_t yy);
    int16_t (*before_draw)(void* control, int32_t passCode, int16_t* canDraw, const char* name);
    int16_t (*after_draw)(void* control, const char* name);
    int16_t (*done)(void* control);
    /* The layer changed: the window paints again. */
    void (*invalidate)(void* window);
    /* Posts a message to the window (1537: an object clicked). */
    void (*post_message)(void* window, uint32_t message, intptr_t first, intptr_t second);
    /* A pop-up menu at a window position: the id chosen, 0 for none. */
    int32_t (*menu)(void* window, int32_t x, int32_t y, const CrdeAnnoMenuItem* items,
                    int32_t count);
    /* Asks for a text: 1 with the text in the buffer (UTF-8, zero-terminated). */
    int32_t (*ask_text)(void* window, char* buffer, int32_t size);
} CrdeAnnoCallbacks;

/* The layer's commands, for MenuMsg and its pop-up menu. */
enum {
    CRDE_ANNO_SELECT = 0x7100,
    CRDE_ANNO_RECTANGLE,
    CRDE_ANNO_HIGHLIGHT,
    CRDE_ANNO_ELLIPSE,
    CRDE_ANNO_LINE,
    CRDE_ANNO_ARROW,
    CRDE_ANNO_FREEHAND,
    CRDE_ANNO_TEXT,
    CRDE_ANNO_DELETE = 0x7110,
    CRDE_ANNO_DELETE_ALL
};

typedef void (*CrdeInitAnnotation)(void* control, void* window, void* owner,
                                   const CrdeAnnoCallbacks* callbacks, const char* settings);
typedef void (*CrdeAnnotationOf)(void* control);
/* The last argument, a zero on the classic platform, is the canvas of the window. */
typedef void (*CrdeDrawAnnotation)(void* control, double zoom, int32_t originX, int32_t originY,
                                   int16_t offsetX, int16_t offsetY, int32_t scrollBarWidth,
                                   CrdeAnnoCanvas* canvas);
/* The "bitmap handle" is a canvas on the bitmap, one pixel a picture pixel. */
typedef void (*CrdeHardDrawAnnotation)(void* control, CrdeAnnoCanvas* bitmap);
typedef int16_t (*CrdeIsAnnotation)(void* control);
typedef void (*CrdeMouseMon)(void* control, uint32_t message, int32_t zero, uint32_t packedXY);
typedef void (*CrdeMenuMsg)(void* control, int32_t command);
typedef int16_t (*CrdeRemoveAnnotation)(void* control);

#ifdef __cplusplus
}
#endif
