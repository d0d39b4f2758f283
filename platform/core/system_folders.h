// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

/// The classic platform's Windows folder: where bare-named settings files live. The user's
/// configuration folder ($XDG_CONFIG_HOME/vellamore); VLMOR_WINDOWS_DIR overrides it.
QString WindowsDirectory();

/// The classic system folder, searched for shared libraries: /usr/lib/vellamore;
/// VLMOR_SYSTEM_DIR overrides it.
QString SystemDirectory();

} // namespace platform
