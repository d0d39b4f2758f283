// SPDX-License-Identifier: MIT
#include "platform/core/library.h"
#include "platform/memory/global_memory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {
const QString ModuleDir = QStringLiteral(VLMOR_TEST_MODULE_DIR);
}

TEST(Library, ClassicNamesMapToPlatformFileNames) {
    EXPECT_EQ(PlatformLibraryName("CRDE2000.DLL"), "libcrde2000.so");
    EXPECT_EQ(PlatformLibraryName("isp2000"), "libisp2000.so");
    EXPECT_EQ(PlatformLibraryName("C:\\PROG\\ISP2000.DLL"), "C:\\PROG\\libisp2000.so");
    EXPECT_EQ(PlatformLibraryName("/opt/v/libcrde2000.so"), "/opt/v/libcrde2000.so");
    EXPECT_EQ(PlatformLibraryName("libz.so.1"), "libz.so.1");
    EXPECT_EQ(PlatformLibraryName("/opt/v/"), "");
}

TEST(Library, LoadsByClassicPathAndFindsExports) {
    HMODULE module = LoadLibrary(ModuleDir + "/VLMORTESTMOD.DLL");
    ASSERT_NE(module, nullptr) << LastLibraryError().toStdString();
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "vlmor_test_answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "no_such_export"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "vlmor_test_answer"), nullptr);
    FreeLibrary(module);
}

TEST(Library, MissingLibraryFailsWithAText) {
    EXPECT_EQ(LoadLibrary("NOSUCHLIB1234.DLL"), nullptr);
    EXPECT_FALSE(LastLibraryError().isEmpty());
    EXPECT_EQ(LoadLibrary(""), nullptr);
    // A file that is not a library is refused, not crashed on.
    QTemporaryDir dir;
    QFile bogus(dir.filePath("libbogus.so"));
    ASSERT_TRUE(bogus.open(QIODevice::WriteOnly));
    bogus.write("not an ELF file at all");
    bogus.close();
    EXPECT_EQ(LoadLibrary(dir.filePath("BOGUS.DLL")), nullptr);
}

TEST(Library, BareNameIsFoundInTheCurrentDirectory) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ModuleDir));
    HMODULE module = LoadLibrary("VLMORTESTMOD.DLL");
    QDir::setCurrent(before);
    ASSERT_NE(module, nullptr);
    FreeLibrary(module);
}

TEST(Library, SearchPathWalksTheListInOrder) {
    QTemporaryDir empty;
    const QString found =
        SearchPath(empty.path() + ";" + ModuleDir + ";/nowhere", "VLMORTESTMOD.DLL");
    EXPECT_EQ(found, ModuleDir + "/libvlmortestmod.so");
    EXPECT_EQ(SearchPath(empty.path(), "VLMORTESTMOD.DLL"), "");
}

TEST(Library, BlockMadeInAModuleIsFreedByTheProgram) {
    HMODULE module = LoadLibrary(ModuleDir + "/libvlmortestmod.so");
    ASSERT_NE(module, nullptr);
    auto make =
        reinterpret_cast<HGLOBAL (*)(std::size_t)>(GetProcAddress(module, "vlmor_test_make_block"));
    ASSERT_NE(make, nullptr);
    const std::size_t before = GlobalBlockCount();
    HGLOBAL block = make(100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalBlockCount(), before + 1);
    EXPECT_EQ(GlobalSize(block), 100u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 0xAB);
    EXPECT_EQ(bytes[99], 0xAB);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalBlockCount(), before);
    FreeLibrary(module);
}
