// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace platform {

/// What a program prints for the options every one of ours takes, read from the raw
/// arguments before any application object exists (so they need no display).
struct ProgramText {
    const char* Name;    // "vlmor-image"
    const char* Summary; // one line of what it does
    const char* Usage;   // its usage lines, each ending in a newline
};

/// For --help (or -h) and --version among the arguments: the text to print on standard
/// output before ending with success. Nothing when neither is there.
std::optional<std::string> StandardOptionText(int argc, const char* const* argv,
                                              const ProgramText& program);

/// "NAME VERSION".
std::string VersionLine(const char* name);

} // namespace platform
