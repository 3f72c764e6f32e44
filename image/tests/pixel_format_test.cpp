#include "dvpimage/pixel_format.h"

#include <gtest/gtest.h>

#include <string>

using namespace Image;

namespace {

struct Row {
    PixelFormat format;
    const char* name;
    unsigned bytes, flags, components;
};

// The format table as the library publishes it.
const Row kRows[] = {
    {PF_UNKNOWN, "PF_UNKNOWN", 0, 0x00, 0},
    {PF_L8, "PF_L8", 1, 0x30, 1},
    {PF_L16, "PF_L16", 2, 0x30, 1},
    {PF_R5G6B5, "PF_R5G6B5", 2, 0x10, 3},
    {PF_R8G8B8, "PF_R8G8B8", 3, 0x10, 3},
    {PF_B8G8R8, "PF_B8G8R8", 3, 0x10, 3},
    {PF_A8R8G8B8, "PF_A8R8G8B8", 4, 0x11, 4},
    {PF_A8B8G8R8, "PF_A8B8G8R8", 4, 0x11, 4},
    {PF_B8G8R8A8, "PF_B8G8R8A8", 4, 0x11, 4},
    {PF_R8G8B8A8, "PF_R8G8B8A8", 4, 0x11, 4},
    {PF_X8R8G8B8, "PF_X8R8G8B8", 3, 0x10, 3},
    {PF_X8B8G8R8, "PF_X8B8G8R8", 3, 0x10, 3},
    {PF_DXT1, "PF_DXT1", 0, 0x03, 3},
    {PF_DXT2, "PF_DXT2", 0, 0x03, 4},
    {PF_DXT3, "PF_DXT3", 0, 0x03, 4},
    {PF_DXT4, "PF_DXT4", 0, 0x03, 4},
    {PF_DXT5, "PF_DXT5", 0, 0x03, 4},
    {PF_FLOAT32_R, "PF_FLOAT32_R", 4, 0x04, 1},
    {PF_FLOAT32_RGB, "PF_FLOAT32_RGB", 12, 0x04, 3},
    {PF_FLOAT32_RGBA, "PF_FLOAT32_RGBA", 16, 0x05, 4},
    {PF_DEPTH, "PF_DEPTH", 0, 0x08, 1},
    {PF_SHORT_RGBA, "PF_SHORT_RGBA", 8, 0x01, 4},
    {PF_SHORT_RGB, "PF_SHORT_RGB", 6, 0x00, 3},
    {PF_R8, "PF_R8", 1, 0x00, 1},
    {PF_R16, "PF_R16", 2, 0x00, 1},
    {PF_B5G6R5, "PF_B5G6R5", 2, 0x10, 3},
};

TEST(PixelFormatTable, EveryFormatHasItsNameSizeFlagsAndComponents) {
    ASSERT_EQ(std::size(kRows), std::size_t{PF_COUNT});
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(std::string(Pixels::GetFormatName(row.format)), row.name);
        EXPECT_EQ(Pixels::GetNumElemBytes(row.format), row.bytes);
        EXPECT_EQ(Pixels::GetNumElemBits(row.format), row.bytes * 8);
        EXPECT_EQ(Pixels::GetFlags(row.format), row.flags);
        EXPECT_EQ(Pixels::GetComponentCount(row.format), row.components);
        EXPECT_EQ(Pixels::IsCompressed(row.format), row.format >= PF_DXT1 && row.format <= PF_DXT5);
        EXPECT_EQ(Pixels::IsAccessible(row.format),
                  row.format != PF_UNKNOWN && !Pixels::IsCompressed(row.format));
        EXPECT_TRUE(Pixels::HasAlpha(row.format));
    }
}

TEST(PixelFormatTable, ValueOutsideTheEnumerationAnswersAsUnknown) {
    const auto bad = static_cast<PixelFormat>(1000);
    EXPECT_EQ(std::string(Pixels::GetFormatName(bad)), "PF_UNKNOWN");
    EXPECT_EQ(Pixels::GetNumElemBytes(bad), 0u);
    EXPECT_FALSE(Pixels::IsAccessible(bad));
    EXPECT_EQ(Pixels::GetMemorySize(bad, 10, 10, 1), 0u);
}

TEST(PixelFormatSizes, MemorySizeOfPlainAndBlockCompressedFormats) {
    struct Case {
        PixelFormat format;
        unsigned w, h, d;
        std::uint64_t bytes;
    };
    const Case cases[] = {
        {PF_DXT1, 1, 1, 1, 8},
        {PF_DXT5, 1, 1, 1, 16},
        {PF_DXT1, 5, 9, 2, 2 * 3 * 8 * 2},
        {PF_DXT3, 8, 4, 1, 2 * 16},
        {PF_R8G8B8, 5, 3, 2, 90},
        {PF_X8R8G8B8, 2, 2, 1, 12},
        {PF_DEPTH, 64, 64, 1, 0},
        {PF_FLOAT32_RGBA, 3, 1, 1, 48},
        // Sizes past 4 GiB are not wrapped around.
        {PF_FLOAT32_RGBA, 65536, 65536, 1, 16ull << 32},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pixels::GetMemorySize(c.format, c.w, c.h, c.d), c.bytes) << Pixels::GetFormatName(c.format);
}

TEST(PixelFormatSizes, CalculateSizeSumsTheMipmapLevels) {
    EXPECT_EQ(Pixels::CalculateSize(PF_R8G8B8, 4, 2, 1, 2), 33u); // 4x2, 2x1, 1x1
    EXPECT_EQ(Pixels::CalculateSize(PF_L8, 8, 8, 1, 0), 64u);
    EXPECT_EQ(Pixels::CalculateSize(PF_L8, 1, 1, 1, 3), 4u); // levels stay 1x1
    EXPECT_EQ(Pixels::CalculateSize(PF_DXT1, 8, 8, 1, 3), 32u + 8u + 8u + 8u);
}

} // namespace
