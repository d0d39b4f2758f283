// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

/// A loaded shared library; null when loading failed.
using HMODULE = void*;

/// The platform file name for a classic library name: "CRDE2000.DLL" and "crde2000"
/// both become "libcrde2000.so"; a directory in front is kept.
QString PlatformLibraryName(const QString& name);

/// Loads a library by (classic) name. A name with a directory loads that file only; a bare
/// name is looked for in the executable's directory, then by the system's own search
/// (LD_LIBRARY_PATH, run path, system directories), then beside the program's shared
/// memory-block library, then in the current directory.
HMODULE LoadLibrary(const QString& name);

/// The address of an exported symbol, or null.
void* GetProcAddress(HMODULE library, const char* exportName);

/// Releases a library loaded by LoadLibrary; null is ignored. Its code stays mapped (see
/// LoadLibrary's file), so a later load gives the same module.
void FreeLibrary(HMODULE library);

/// The last loader error text (for messages and logs).
QString LastLibraryError();

/// Looks for a file of that (classic) name in each directory of a ";"-separated list and
/// gives the first existing full path, or "".
QString SearchPath(const QString& directoryList, const QString& name);

} // namespace platform
