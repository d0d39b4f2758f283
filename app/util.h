// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

/// The file-name part of a path (after the last separator or ":") without its extension;
/// a name without "." is returned whole.
QString FileNameNoExt(const QString& path);

/// The path without one trailing separator. A root ("/", "C:\") and any path of three
/// characters or fewer are kept as they are; "" stays "".
QString StripTrailingBackslash(const QString& path);

/// The largest of values[0] and the count values after it (count + 1 values in all).
std::int32_t MaxOfArray(const std::int32_t* values, std::uint16_t count);
