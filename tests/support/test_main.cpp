// SPDX-License-Identifier: MIT
// Test entry point: one application object on the offscreen platform for every test.
#include "platform/ui/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
