// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The program-wide settings read from the INI file at start.
struct Config {
    QString DataPath;
    QString TitleText;
    QString QuantityText;
    QString Line1Text;
    QString Line2Text;
};

/// The settings in force (read by the windows and the data module).
Config& Settings();

/// The INI file of a program file: its path with the extension replaced by ".ini".
QString IniFileNameFor(const QString& programPath);

/// Reads section "Config" of the INI file beside the program, key by key with defaults.
Config ReadConfig(const QString& programPath);
