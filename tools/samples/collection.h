// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace samples {

/// How a sample picture is written.
enum class TSampleFormat { Bmp1, Bmp4, Bmp8, Bmp24, Png, Jpg };

/// One picture of the sample collection.
struct TSample {
    QString Stem;        // file name without extension, at most 8 characters
    QString Description; // what the picture shows
    QString Category;    // lower case
    std::function<QImage()> Draw;
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

/// Encodes the drawn picture in its format.
QByteArray Encode(const QImage& image, TSampleFormat format);

} // namespace samples
