// SPDX-License-Identifier: MIT
#include "platform/core/system_folders.h"

#include "install_paths.h"

#include <QDir>

namespace platform {

QString WindowsDirectory() {
    const QString overridden = qEnvironmentVariable("VLMOR_WINDOWS_DIR");
    if (!overridden.isEmpty())
        return overridden;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/vellamore");
}

QString SystemDirectory() {
    const QString overridden = qEnvironmentVariable("VLMOR_SYSTEM_DIR");
    return overridden.isEmpty() ? QStringLiteral(VLMOR_SYSTEM_FOLDER) : overridden;
}

} // namespace platform
