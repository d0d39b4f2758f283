// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace samples {

/// How a sample picture is written: every kind of file the imaging engine writes, the two it
/// only reads (a Photo CD pack, a drawing), and the other kinds the image view shows: vector
/// metafiles, credit messages, rich text, a picture behind a record source's header, and a
/// record without a picture.
enum class SampleFormat {
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
    Dxf,
    Wmf,
    Emf,
    Scm,
    Cms,
    Rtf,
    HeaderBmp,
    NoPicture
};

/// One picture of the sample collection.
struct Sample {
    QString Stem;                               // file name without extension, at most 8 characters
    QString Description;                        // what the picture shows
    QString Category;                           // lower case
    std::function<QImage()> Draw;               // the picture, for every format but Dxf
    std::function<QByteArray()> Data = nullptr; // the file itself, for the kinds not drawn
    SampleFormat Format = SampleFormat::Png;
};

/// The tab captions: the all-pictures tab first, then one per category.
QStringList Categories();

/// Every picture of the collection, in catalogue order; formats are given in turn.
std::vector<Sample> Collection();

// The pictures of each category (each file draws one or two categories).
void AddBorders(std::vector<Sample>& out);
void AddHeaders(std::vector<Sample>& out);
void AddLetters(std::vector<Sample>& out);
void AddOrnaments(std::vector<Sample>& out);
void AddMisc(std::vector<Sample>& out);
void AddBackgrounds(std::vector<Sample>& out);
/// The records of the other kinds the view shows (metafiles, credit messages, rich text, a
/// headed picture, a record without a picture).
void AddOtherKinds(std::vector<Sample>& out);

/// The file extension a format writes.
QString Extension(SampleFormat format);

/// The sample's file in its format (written by the imaging engine's writers).
QByteArray Encode(const Sample& sample);

} // namespace samples
