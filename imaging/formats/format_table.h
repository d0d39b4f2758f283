// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/engine/engine_calls.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace imaging {

/// What a blob of a format becomes in the view.
enum class PictureKind {
    Picture,  // a bitmap decoded by the engine's reader
    Drawing,  // a drawing the engine renders into a bitmap
    Metafile, // a vector picture the program plays itself
    Credit,   // a credit message shown as moving text
    Note,     // rich text: the view shows its placeholder
};

/// The file dialogs and lists whose entries come from the table, each in an order of its own.
enum class FormatList {
    OpenFilter,  // the open dialog's entries
    OpenAll,     // the open dialog's "all supported" patterns
    ToolbarSave, // the toolbar's save dialog
    MainSave,    // the main window's Save As
    COUNT,
};

/// The facts of one format the program knows. The engine's formats come from the engine's
/// format list, one row each with the program's facts of them; the program's own (metafiles,
/// credit messages, rich text) are rows of this table.
struct PictureFormat {
    /// What detection names it; the loaders and writers dispatch on it.
    const char* LoadName = nullptr;
    /// The engine's stream-information name; null when the engine does not detect it.
    const char* InfoName = nullptr;
    /// The engine's format, for its readers and writers.
    std::optional<EngineFormat> Engine = std::nullopt;
    PictureKind Kind = PictureKind::Picture;
    /// Every extension spelling, upper case without the dot, space-separated; the first is
    /// the main one.
    const char* Extensions = nullptr;
    /// The user's label in the file dialogs.
    const char* Label = nullptr;
    /// A file with this extension can be loaded into the record's field.
    bool Loadable = false;
    /// The engine writes it (a picture saved in this format).
    bool EngineWrites = false;
    /// The record's own bytes are saved for it (a credit message is saved as it is).
    bool SavesBlob = false;
    /// Its place in each list (from 1); 0: not in that list.
    int Place[int(FormatList::COUNT)] = {};
};

/// Every format, the engine's in its own order first.
std::span<const PictureFormat> PictureFormats();

/// The row of a load name ("JPG", "WMF" ...), or null.
const PictureFormat* FormatOfLoadName(const QString& loadName);
/// What a blob of that load name becomes; nothing for a name no row has ("-1").
std::optional<PictureKind> KindOfLoadName(const QString& loadName);
/// The row of the engine's stream-information name ("JPEG", "TIFF" ...), or null.
const PictureFormat* FormatOfInfoName(const QString& infoName);
/// The row of a file's extension in any spelling and case the table knows, or null.
const PictureFormat* FormatOfFile(const QString& fileName);
/// The row whose main extension this is (".TIF" but not ".TIFF"), any case, or null.
const PictureFormat* FormatOfMainExtension(const QString& fileName);
/// The row of an engine format (it always has one).
const PictureFormat& FormatOf(EngineFormat format);

/// Every spelling of its extension, upper case without the dot, the main one first.
QStringList Spellings(const PictureFormat& format);
/// The main extension in lower case ("jpg"), as the writers' depth rules name it.
QString MainExtension(const PictureFormat& format);
/// The main extensions of the formats the engine writes, in the main Save list's order,
/// upper case and comma-separated ("TIF, JPG, ...").
QString WritableExtensions();
/// Every extension a file loaded into the field may have, upper case with the dot.
QStringList LoadableExtensions();
/// A list's entries in its order: "Label    (EXT) |*.EXT" joined by '|'.
QString FilterEntries(FormatList list);
/// The main extensions of a list in its order, upper case with the dot, joined by ';'
/// ("*.BMP;*.CMS;...;"), for an "all formats" entry.
QString FilterPatterns(FormatList list);

} // namespace imaging
