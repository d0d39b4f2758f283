// SPDX-License-Identifier: MIT
#include "platform/core/command_line.h"

#include "version.h"

#include <cstring>

namespace platform {

std::string VersionLine(const char* name) {
    return std::string(name) + ' ' + VLMOR_VERSION;
}

std::optional<std::string> StandardOptionText(int argc, const char* const* argv,
                                              const ProgramText& program) {
    // The first of them counts; what follows "--" is not an option.
    for (int i = 1; i < argc && argv[i]; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (std::strcmp(a, "--version") == 0)
            return VersionLine(program.Name) + '\n';
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0)
            return std::string(program.Summary) + "\n\n" + program.Usage +
                   "\n  --help     print this text\n  --version  print the version\n";
    }
    return std::nullopt;
}

} // namespace platform
