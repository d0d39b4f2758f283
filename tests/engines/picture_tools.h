// SPDX-License-Identifier: MIT
#pragma once

// Helpers for tests that compare our codecs with independent tools (ImageMagick, netpbm,
// Ghostscript) run at test time.

#include "platform/memory/global_memory.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace picture_tools {

QByteArray ReadAll(const QString& path);
bool WriteAll(const QString& path, const QByteArray& bytes);
/// Runs a program; false unless it ends with status 0. Standard output goes to `output`
/// (a file path) when given.
bool Run(const QString& program, const QStringList& args, const QString& output = {});
bool Convert(const QStringList& args);

/// The pixels of a DIB block (any depth, bottom-up or top-down) as an RGB32 image.
QImage DibImage(HGLOBAL dib);
/// ImageMagick's own decoding of a file (oriented, 8 bits, no colour management).
QImage ImageMagickPixels(const QString& file, const QString& frame = {});
/// ImageMagick's "depth width height" of a file's first frame ("" when it cannot read it).
QString Identify(const QString& file);
/// netpbm's decoding of a PCX file (ImageMagick reads one-bit PCX files inverted).
QImage NetpbmPcxPixels(const QString& file);
/// Ghostscript's rendering of an EPS file at 72 dots per inch.
QImage GhostscriptPixels(const QString& file);

/// How two pictures of one size differ.
struct Difference {
    int pixels = 0;  // pixels with any channel different
    int largest = 0; // the largest channel difference
    double mean = 0; // mean absolute channel difference
    bool sizeDiffers = false;
};
Difference Compare(const QImage& a, const QImage& b);

/// A test picture: a colour gradient crossed by blocks of solid colours.
QImage TestPicture(int width, int height);

} // namespace picture_tools
