// SPDX-License-Identifier: MIT
#include "imaging/dib/dib.h"
#include "imaging/error_invalid.h"

#include <gtest/gtest.h>
#include <limits>

using imaging::HPALETTE;
using imaging::ILTDib;

namespace {

// A hand-made DIB block: header fields as given, colour table and rows zero.
HGLOBAL MakeDib(std::int32_t w, std::int32_t h, std::uint16_t bits, std::uint32_t used,
                std::uint32_t imageSize, std::size_t extra) {
    HGLOBAL block = GlobalAlloc(GHND, 40 + extra);
    auto* p = static_cast<std::uint8_t*>(GlobalLock(block));
    auto put32 = [p](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            p[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<std::uint32_t>(w));
    put32(8, static_cast<std::uint32_t>(h));
    p[12] = 1;
    p[14] = static_cast<std::uint8_t>(bits);
    put32(20, imageSize);
    put32(32, used);
    GlobalUnlock(block);
    return block;
}

class DibTest : public ::testing::Test {
protected:
    void SetUp() override { blocksBefore = GlobalBlockCount(); }
    void TearDown() override { EXPECT_EQ(GlobalBlockCount(), blocksBefore) << "a block leaked"; }
    std::size_t blocksBefore = 0;
};

} // namespace

TEST_F(DibTest, HeaderReadersFollowTheBitCountAndTheColoursUsed) {
    {
        ILTDib dib;
        EXPECT_EQ(dib.BitCount(), 0);
        EXPECT_EQ(dib.HeaderSize(), 0u);
        EXPECT_EQ(dib.Bits(), nullptr);
        dib.SetDib(GlobalLock(MakeDib(10, 3, 24, 0, 0, 96)));
        EXPECT_EQ(dib.ColorCount(), 0u);
        EXPECT_EQ(dib.HeaderSize(), 40u);
        EXPECT_EQ(dib.GetPalette(), nullptr); // no palette for a 24-bit picture
        EXPECT_EQ(dib.AlignedWidth(), 12);
        // An image size of 0 is worked out, written into the header, then read back.
        EXPECT_EQ(dib.DibSize(), 40u + 3 * 32);
        EXPECT_EQ(dib.DibSize(), 40u + 3 * 32);
        EXPECT_EQ(dib.Bits(), dib.Dib() + 40);
        // A top-down DIB (negative height) has as many rows as a bottom-up one.
        dib.SetDib(GlobalLock(MakeDib(10, -3, 24, 0, 0, 96)));
        EXPECT_EQ(dib.DibSize(), 40u + 3 * 32);
    }
    ILTDib five;
    five.SetDib(GlobalLock(MakeDib(4, 4, 8, 5, 16, 20 + 16)));
    EXPECT_EQ(five.ColorCount(), 5u);
    EXPECT_EQ(five.HeaderSize(), 60u);
    ASSERT_NE(five.GetPalette(), nullptr);
    EXPECT_EQ(five.GetPalette()->Entries.size(), 5u);
    EXPECT_EQ(imaging::ColorsForBitCount(4), 16);
    EXPECT_EQ(imaging::ColorsForBitCount(24), 0);
}

TEST_F(DibTest, CreateNewMakesHeadersOfTheStoredDepth) {
    ILTDib dib;
    EXPECT_FALSE(dib.CreateNew(nullptr, 8, 8, 3)); // nothing allocated
    EXPECT_EQ(GlobalBlockCount(), blocksBefore);

    auto palette = std::make_shared<imaging::TPalette>();
    palette->Entries = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    ASSERT_TRUE(dib.CreateNew(palette, 33, 2, 2));
    EXPECT_EQ(dib.BitCount(), 1); // depth 2 is stored as 1 bit a pixel
    EXPECT_EQ(dib.ColorCount(), 2u);
    EXPECT_EQ(dib.DibSize(), 40u + 8 + 2 * 8); // rows of 33 bits take 8 bytes
    const std::uint8_t* table = dib.Dib() + 40;
    EXPECT_EQ(table[2], 255);              // red of entry 0 (blue, green, red, reserved)
    EXPECT_EQ(table[4], 255);              // blue of entry 1
    EXPECT_EQ(dib.Dib()[24], 2953 & 0xff); // 75 dots an inch

    ASSERT_TRUE(dib.CreateNew(nullptr, 5, 5, 24)); // the old block is freed
    EXPECT_EQ(GlobalBlockCount(), blocksBefore + 1);
    EXPECT_EQ(dib.DibSize(), 40u + 5 * 16);
    EXPECT_THROW(dib.CreateNew(nullptr, std::numeric_limits<std::int32_t>::max(),
                               std::numeric_limits<std::int32_t>::max(), 32),
                 imaging::ErrorInvalid);
}

TEST_F(DibTest, DuplicatesAndOwnership) {
    HGLOBAL copy = nullptr;
    HGLOBAL shared = MakeDib(2, 2, 8, 0, 8, 1024 + 8);
    {
        ILTDib owner;
        ASSERT_TRUE(owner.CreateNew(nullptr, 4, 1, 8));
        owner.Bits()[1] = 42;
        copy = owner.DuplicateDib();
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(GlobalFlags(copy) & 0xff, 0u); // handed back unlocked
        ILTDib lens;
        lens.SetOwnsDib(false);
        lens.SetDib(GlobalLock(shared));
        EXPECT_EQ(lens.ColorCount(), 256u);
    } // the owner frees its block; the lens leaves the shared one alone
    EXPECT_EQ(GlobalSize(shared), 40u + 1024 + 8);
    ILTDib back;
    back.SetDib(GlobalLock(copy));
    EXPECT_EQ(back.Bits()[1], 42);
    EXPECT_EQ(ILTDib::DuplicateHandle(nullptr), nullptr);
    imaging::FreeDib(shared);
}

TEST_F(DibTest, APaletteGoesIntoTheColourTable) {
    ILTDib dib;
    ASSERT_TRUE(dib.CreateNew(nullptr, 1, 1, 4));
    auto palette = std::make_shared<imaging::TPalette>();
    palette->Entries.assign(3, {10, 20, 30, 0});
    dib.SetPalette(palette);
    EXPECT_EQ(dib.GetPalette(), palette);
    const std::uint8_t* table = dib.Dib() + 40;
    EXPECT_EQ(table[8], 30);  // blue of entry 2
    EXPECT_EQ(table[10], 10); // red of entry 2
    EXPECT_EQ(table[12], 0);  // entry 3 was not in the palette
    // A truncated block is read no further than it reaches.
    ILTDib small;
    small.SetDib(GlobalLock(MakeDib(1000, 1000, 8, 0, 0, 0)));
    EXPECT_EQ(small.Bits(), nullptr); // the colour table lies beyond the block
    EXPECT_EQ(small.GetPalette(), nullptr);
}
