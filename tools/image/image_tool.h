// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tools {

/// vlmor-image: "info FILE" prints what the engine reports about a picture file;
/// "convert IN OUT [options]" reads IN and writes OUT in the format of OUT's extension. Both
/// go through the engine binding, the road the program takes. Returns the exit status.
int RunImageTool(const QStringList& arguments, QTextStream& out, QTextStream& err);
/// Its usage lines.
extern const char* const kImageToolUsage;

} // namespace tools
