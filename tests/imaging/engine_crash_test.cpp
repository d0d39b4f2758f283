// SPDX-License-Identifier: MIT
// The binding against an engine module that reports a crash: the program shows its crash
// message, the call fails, nothing is handed out and the program goes on.
#include "imaging/engine/annotation_calls.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/error_invalid.h"
#include "tests/support/fake_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kCrashText = "An exception error occured in the imaging dll. We recommend to "
                               "exit the application and to restart it by clicking its icon!";

class EngineCrash : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
        imaging::EngineBinding::Instance().Start();
    }
    void TearDown() override {
        imaging::EngineBinding::Instance().End();
        qunsetenv("VLMOR_WINDOWS_DIR");
    }
    QTemporaryDir settings;
    FakeDialogs dialogs;
};

TEST_F(EngineCrash, AReportedCrashShowsTheCrashMessageAndFails) {
    const char bytes[] = "BM and more";
    HGLOBAL dib = nullptr;
    EXPECT_FALSE(imaging::ReadStreamToDib(imaging::EngineFormat::Bmp, bytes, sizeof bytes, 24,
                                          false, 0, &dib, nullptr, nullptr));
    EXPECT_EQ(dib, nullptr);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, kCrashText);
    EXPECT_EQ(dialogs.boxes[0].caption, "Error");
}

TEST_F(EngineCrash, AnExceptionThroughTheModuleIsCaughtAtTheWrapper) {
    int progress = -1;
    auto cb = [](std::int16_t p, void* user) -> std::int16_t {
        *static_cast<int*>(user) = p;
        return 1;
    };
    const char bytes[] = "\x89PNG";
    HGLOBAL dib = nullptr;
    EXPECT_FALSE(imaging::ReadStreamToDib(imaging::EngineFormat::Png, bytes, sizeof bytes, 24,
                                          false, 0, &dib, &progress, cb));
    EXPECT_EQ(progress, 40);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, kCrashText);
    EXPECT_EQ(imaging::EngineBinding::Instance().ProgressText(), "Reading PNG Stream");
}

} // namespace

TEST_F(EngineCrash, AnEngineWithoutTheAnnotationLayerSaysWhichExportIsMissing) {
    try {
        imaging::IsAnnotation(nullptr);
        FAIL() << "no exception";
    } catch (const imaging::ErrorInvalid& e) {
        EXPECT_EQ(e.Message(), "Error. Could not get a procaddress for ILIsAnnotation. This could "
                               "berelated to a dll name or version missmatch of CRDE2000.DLL");
    }
    EXPECT_THROW(imaging::RubberBandOFF(nullptr), imaging::ErrorInvalid);
    EXPECT_THROW(imaging::RemoveAnnotation(nullptr), imaging::ErrorInvalid);
}
