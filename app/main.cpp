// SPDX-License-Identifier: MIT
#include "app/process_values.h"
#include "app/program.h"
#include "platform/core/paths.h"
#include "platform/ui/application.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
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
