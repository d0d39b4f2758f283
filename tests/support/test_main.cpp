// SPDX-License-Identifier: MIT
// Test entry point: one application object on the offscreen platform for every test, and a
// settings folder of the run's own.
#include "platform/ui/application.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings the tests make (and those of the programs they start) go into a folder of
    // the run's own, never into the user's.
    QTemporaryDir config;
    if (config.isValid())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
