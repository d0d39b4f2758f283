// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace bench {

/// Reads the text columns of every record of a catalogue table straight from the database
/// engine, as the table reads them (from the index over them), touching each value once; the
/// anchor of opening a table. Returns a sum of what was read.
long long BareSelect(const QString& path);

} // namespace bench
