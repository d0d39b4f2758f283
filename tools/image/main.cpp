// SPDX-License-Identifier: MIT
// vlmor-image: picture information and conversion through the imaging engine.
#include "imaging/engine/engine_binding.h"
#include "platform/core/dialogs.h"
#include "tools/image/image_tool.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::NoDialogs dialogs;
    platform::SetDialogService(&dialogs);
    imaging::EngineBinding::Instance().Start();
    QTextStream out(stdout), err(stderr);
    const int status = tools::RunImageTool(app.arguments().mid(1), out, err);
    imaging::EngineBinding::Instance().End();
    return status;
}
