// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace samples {

/// How a sample picture is written: every kind of file the imaging engine writes, and the
/// two it only reads (a Photo CD pack, a drawing).
enum class TSampleFormat {
    Bmp1,
    Bmp4,
    Bmp8,
    Bmp24,
    Png,
    Jpg,
    TifNone,
    TifLzw,
    TifPackBits,
    TifFax4,
    TifPages,
    Pcx,
    Gif,
    Tga,
    Eps,
    Pcd,
    Dxf
};

/// One picture of the sample collection.
struct TSample {
    QString Stem;                               // file name without extension, at most 8 characters
    QString Description;                        // what the picture shows
    QString Category;                           // lower case
    std::function<QImage()> Draw;               // the picture, for every format but Dxf
    std::function<QByteArray()> Data = nullptr; // the file itself, for Dxf
    TSampleFormat Format = TSampleFormat::Png;
};

/// The tab captions: the all-pictures tab first, then one per category.
QStringList Categories();

/// Every picture of the collection, in catalogue order; formats are given in turn.
std::vector<TSample> Collection();

// The pictures of each category (each file draws one or two categories).
void AddBorders(std::vector<TSample>& out);
void AddHeaders(std::vector<TSample>& out);
void AddLetters(std::vector<TSample>& out);
void AddOrnaments(std::vector<TSample>& out);
void AddMisc(std::vector<TSample>& out);
void AddBackgrounds(std::vector<TSample>& out);

/// The file extension a format writes.
QString Extension(TSampleFormat format);

/// The sample's file in its format (written by the imaging engine's writers).
QByteArray Encode(const TSample& sample);

} // namespace samples
