// SPDX-License-Identifier: MIT
#include "app/process_values.h"
#include "app/program.h"
#include "platform/core/command_line.h"
#include "platform/core/paths.h"
#include "platform/ui/application.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const platform::ProgramText text{
        "vlmor",
        "Vellamore: the clip-art catalogue viewer. It opens the catalogue that lies in its own "
        "folder\n(vlmor.db and category.db beside the program).",
        "usage: vlmor [Qt options such as -platform NAME or -style NAME]\n"};
    if (const auto printed = platform::StandardOptionText(argc, argv, text)) {
        std::fputs(printed->c_str(), stdout);
        return 0;
    }
    // Process start-up: record where the program lives and work from there.
    QString programPath = platform::ExecutablePath();
    if (programPath.isEmpty() && argc > 0)
        programPath = QString::fromLocal8Bit(argv[0]);
    if (!InitProcessValues(programPath)) {
        std::fprintf(stderr, "vlmor: I/O error: cannot change to the program directory '%s': %s\n",
                     Process().ProgramDir.toLocal8Bit().constData(), std::strerror(errno));
        return 5;
    }

    platform::TApplication app(argc, argv);
    Program program(app);
    program.Start(Process().ProgramPath);
    return program.Run();
}
