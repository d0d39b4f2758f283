// SPDX-License-Identifier: MIT
// vlmor-image: picture information and conversion through the imaging engine.
#include "imaging/engine/engine_binding.h"
#include "platform/core/command_line.h"
#include "platform/core/dialogs.h"
#include "tools/image/image_tool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    const platform::ProgramText text{
        "vlmor-image",
        "vlmor-image: picture information and conversion through the imaging engine.",
        tools::kImageToolUsage};
    if (const auto printed = platform::StandardOptionText(argc, argv, text)) {
        std::fputs(printed->c_str(), stdout);
        return 0;
    }
    QCoreApplication app(argc, argv);
    platform::NoDialogs dialogs;
    platform::SetDialogService(&dialogs);
    imaging::EngineBinding::Instance().Start();
    QTextStream out(stdout), err(stderr);
    const int status = tools::RunImageTool(app.arguments().mid(1), out, err);
    imaging::EngineBinding::Instance().End();
    return status;
}
