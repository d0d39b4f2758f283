// SPDX-License-Identifier: MIT
#include "app/config.h"

#include "platform/core/paths.h"
#include "platform/core/profile.h"

#include <memory>

Config& Settings() {
    static Config config;
    return config;
}

QString IniFileNameFor(const QString& programPath) {
    return platform::ChangeFileExt(programPath, QStringLiteral(".ini"));
}

Config ReadConfig(const QString& programPath) {
    const QString programDir =
        platform::IncludeTrailingPathDelimiter(platform::ExtractFilePath(programPath));
    Config config;
    config.TitleText = QStringLiteral("Vellamore");
    config.DataPath = programDir;

    const auto ini = std::make_unique<platform::TIniFile>(IniFileNameFor(programPath));
    const QString section = QStringLiteral("Config");
    config.DataPath = ini->ReadString(section, QStringLiteral("DataPath"), programDir);
    config.TitleText = ini->ReadString(section, QStringLiteral("Title"), config.TitleText);
    config.QuantityText = ini->ReadString(section, QStringLiteral("Quantity"), QString());
    config.Line1Text = ini->ReadString(section, QStringLiteral("Line1"), QString());
    config.Line2Text = ini->ReadString(section, QStringLiteral("Line2"), QString());
    return config;
}
