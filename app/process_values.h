// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Values recorded once before any window exists.
struct ProcessValues {
    QString ProgramPath;  // the real path of the running executable
    QString ProgramDir;   // its directory without the trailing separator
    QString ProgramDrive; // the first character of ProgramDir
};

/// The values of this process (empty until InitProcessValues has run).
const ProcessValues& Process();

/// Records the values from the executable's path, makes ProgramDir the current directory
/// and seeds the random generator. False when the current directory cannot be set.
bool InitProcessValues(const QString& programPath);
