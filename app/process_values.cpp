// SPDX-License-Identifier: MIT
#include "app/process_values.h"

#include "app/util.h"
#include "platform/core/paths.h"
#include "platform/core/random.h"

namespace {
ProcessValues& Values() {
    static ProcessValues values;
    return values;
}
} // namespace

const ProcessValues& Process() {
    return Values();
}

bool InitProcessValues(const QString& programPath) {
    ProcessValues& v = Values();
    v.ProgramPath = programPath;
    v.ProgramDir = StripTrailingBackslash(platform::ExtractFilePath(programPath));
    if (!platform::SetCurrentDir(v.ProgramDir))
        return false;
    v.ProgramDrive = v.ProgramDir.left(1);
    platform::Randomize();
    return true;
}
