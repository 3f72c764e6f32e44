#include "dvpimage/image2d.h"
#include "dvpimage/pixel_box.h"

#include "colour.h"
#include "format_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace Image;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The integer shortcuts of the row converters give exactly what rule 4 followed by rule 3 gives.
template <unsigned N, unsigned M> void expectShortcutMatchesRules() {
    for (std::uint32_t v = 0; v < (1u << N); ++v) {
        ASSERT_EQ((detail::mapBits<N, M>(v)), detail::floatToBits(detail::bitsToFloat(v, N), M))
            << N << " -> " << M << " bits, value " << v;
    }
}

TEST(ChannelRules, IntegerShortcutsMatchTheFloatRulesForEveryValue) {
    expectShortcutMatchesRules<5, 5>(), expectShortcutMatchesRules<5, 6>(),
        expectShortcutMatchesRules<5, 8>();
    expectShortcutMatchesRules<5, 16>(), expectShortcutMatchesRules<6, 5>(),
        expectShortcutMatchesRules<6, 8>();
    expectShortcutMatchesRules<6, 16>(), expectShortcutMatchesRules<8, 5>(),
        expectShortcutMatchesRules<8, 6>();
    expectShortcutMatchesRules<8, 8>(), expectShortcutMatchesRules<8, 16>(),
        expectShortcutMatchesRules<16, 5>();
    expectShortcutMatchesRules<16, 6>(), expectShortcutMatchesRules<16, 8>(),
        expectShortcutMatchesRules<16, 16>();
}

TEST(ChannelRules, WidthChangesFollowTheFourRules) {
    EXPECT_EQ(detail::from8Bits(255, 16), 65535u);
    EXPECT_EQ(detail::from8Bits(128, 16), 32896u);
    EXPECT_EQ(detail::from8Bits(255, 5), 31u);
    EXPECT_EQ(detail::to8Bits(30, 5), 240u);
    EXPECT_EQ(detail::to8Bits(31, 5), 255u);
    EXPECT_EQ(detail::to8Bits(62, 6), 248u);
    EXPECT_EQ(detail::to8Bits(0, 0), 255u);
    EXPECT_EQ(detail::to8Bits(0x1234, 16), 0x12u);
    EXPECT_EQ(detail::floatToBits(-0.5f, 8), 0u);
    EXPECT_EQ(detail::floatToBits(1.5f, 8), 255u);
    EXPECT_EQ(detail::floatToBits(0.5f, 16), 32768u);
    EXPECT_EQ(detail::floatToBits(std::numeric_limits<float>::quiet_NaN(), 8), 0u);
    EXPECT_EQ(detail::bitsToFloat(255, 8), 1.0f);
    EXPECT_EQ(detail::bitsToFloat(7, 0), 0.0f);
}

struct PackCase {
    PixelFormat format;
    Color colour;
    Bytes element; // empty: the format has no 8-bit conversion
};

TEST(EightBitColour, PackWritesEachFormatGroupsBytes) {
    const PackCase cases[] = {
        {PF_L8, {200, 1, 2, 3}, {200}},
        {PF_L16, {255, 0, 0, 255}, {0xFF, 0xFF}},
        {PF_L16, {128, 0, 0, 0}, {0x80, 0x80}}, // 128 x 257 = 32896
        {PF_R16, {10, 0, 0, 0}, {0x0A, 0x0A}},
        {PF_R5G6B5, {255, 255, 255, 0}, {0xFF, 0xFF}},
        {PF_R5G6B5, {240, 0, 0, 0}, {0x00, 0xF0}},
        {PF_B5G6R5, {255, 4, 0, 0}, {0x3F, 0x00}},
        {PF_R8G8B8, {1, 2, 3, 4}, {3, 2, 1}},
        {PF_B8G8R8, {1, 2, 3, 4}, {1, 2, 3}},
        {PF_A8R8G8B8, {1, 2, 3, 4}, {3, 2, 1, 4}},
        {PF_A8B8G8R8, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {PF_SHORT_RGB, {1, 2, 3, 4}, {1, 0, 2, 0, 3, 0}},
        {PF_SHORT_RGBA, {1, 2, 3, 4}, {1, 0, 2, 0, 3, 0, 4, 0}},
        {PF_B8G8R8A8, {1, 2, 3, 4}, {}},
        {PF_X8R8G8B8, {1, 2, 3, 4}, {}},
        {PF_R8, {1, 2, 3, 4}, {}},
        {PF_FLOAT32_R, {1, 2, 3, 4}, {}},
    };
    for (const PackCase& c : cases) {
        SCOPED_TRACE(Pixels::GetFormatName(c.format));
        Bytes element(16, 0xEE);
        const bool handled = detail::packColour(c.format, c.colour, element.data());
        EXPECT_EQ(handled, !c.element.empty());
        if (c.element.empty()) {
            EXPECT_EQ(element, Bytes(16, 0xEE));
            continue;
        }
        EXPECT_EQ(Bytes(element.begin(), element.begin() + c.element.size()), c.element);
        EXPECT_EQ(element[c.element.size()], 0xEE) << "wrote past the element";
    }
}

struct UnpackCase {
    PixelFormat format;
    Bytes element;
    Color colour;
};

TEST(EightBitColour, UnpackReadsEachFormatGroupsBytes) {
    const UnpackCase cases[] = {
        {PF_R5G6B5, {0xFF, 0xFF}, {255, 255, 255, 255}},
        {PF_R5G6B5, {0x00, 0xF0}, {240, 0, 0, 255}}, // red 30 of 31
        {PF_R5G6B5, {0xC0, 0x07}, {0, 248, 0, 255}}, // green 62 of 63
        {PF_B5G6R5, {0x1F, 0x00}, {255, 0, 0, 255}},
        {PF_L8, {77}, {77, 255, 255, 255}},
        {PF_L16, {0x34, 0x12}, {0x12, 255, 255, 255}},
        {PF_R8G8B8, {3, 2, 1}, {1, 2, 3, 255}},
        {PF_B8G8R8, {3, 2, 1}, {3, 2, 1, 255}},
        {PF_A8R8G8B8, {3, 2, 1, 4}, {1, 2, 3, 4}},
        {PF_A8B8G8R8, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {PF_SHORT_RGBA, {0x01, 0xAA, 0x02, 0xBB, 0x03, 0xCC, 0x04, 0xDD}, {1, 2, 3, 4}},
    };
    for (const UnpackCase& c : cases) {
        SCOPED_TRACE(Pixels::GetFormatName(c.format));
        Color colour{9, 9, 9, 9};
        EXPECT_TRUE(detail::unpackColour(c.format, c.element.data(), colour));
        EXPECT_EQ(colour.r, c.colour.r);
        EXPECT_EQ(colour.g, c.colour.g);
        EXPECT_EQ(colour.b, c.colour.b);
        EXPECT_EQ(colour.a, c.colour.a);
    }
    Color untouched{9, 9, 9, 9};
    const Bytes bytes(16, 1);
    EXPECT_FALSE(detail::unpackColour(PF_R8G8B8A8, bytes.data(), untouched));
    EXPECT_EQ(untouched.r, 9);
}

bool same(const ColorF& a, const ColorF& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

TEST(FloatColour, UnpackSetsOnlyTheChannelsTheFormatHas) {
    struct Case {
        PixelFormat format;
        Bytes element;
        ColorF expected; // from a colour that was (9, 9, 9, 9)
    };
    auto floats = [](std::initializer_list<float> values) {
        Bytes out;
        for (float v : values) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
            out.insert(out.end(), p, p + 4);
        }
        return out;
    };
    const Case cases[] = {
        {PF_FLOAT32_R, floats({0.25f}), {0.25f, 9, 9, 9}},
        {PF_FLOAT32_RGB, floats({0.25f, 0.5f, 2.0f}), {0.25f, 0.5f, 2.0f, 9}},
        {PF_FLOAT32_RGBA, floats({0.1f, 0.2f, 0.3f, 0.4f}), {0.1f, 0.2f, 0.3f, 0.4f}},
        {PF_SHORT_RGB, {0xFF, 0xFF, 0, 0, 0xFF, 0xFF}, {1.0f, 0.0f, 1.0f, 0.0f}},
        {PF_SHORT_RGBA, {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, {1.0f, 0.0f, 1.0f, 1.0f}},
        {PF_R8G8B8, {0, 0xFF, 0xFF}, {1.0f, 1.0f, 0.0f, 0.0f}}, // no alpha bits: 0.0
        {PF_L8, {0xFF}, {1.0f, 0.0f, 0.0f, 0.0f}},
        {PF_R5G6B5, {0xFF, 0xFF}, {1.0f, 1.0f, 1.0f, 0.0f}},
        {PF_L16, {0xFF, 0xFF}, {1.0f, 0.0f, 0.0f, 0.0f}},
        {PF_X8R8G8B8, {1, 2, 3}, {9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Pixels::GetFormatName(c.format));
        ColorF colour{9, 9, 9, 9};
        detail::unpackColourF(c.format, c.element.data(), colour);
        EXPECT_TRUE(same(colour, c.expected))
            << colour.r << " " << colour.g << " " << colour.b << " " << colour.a;
    }
}

TEST(FloatColour, PackQuantisesEachChannelAtItsOwnWidth) {
    struct Case {
        PixelFormat format;
        ColorF colour;
        Bytes element;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {PF_SHORT_RGB, {0.5f, 1.0f, -1.0f, 0.5f}, {0x00, 0x80, 0xFF, 0xFF, 0, 0}},
        {PF_SHORT_RGBA, {nan, 2.0f, 0.0f, 1.0f}, {0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF}},
        {PF_R8G8B8, {1.0f, 0.5f, 0.0f, 1.0f}, {0, 128, 255}},
        {PF_A8B8G8R8, {1.0f, 0.5f, 0.0f, 0.25f}, {255, 128, 0, 64}},
        {PF_L16, {0.5f, 0, 0, 0}, {0x00, 0x80}},
        {PF_R5G6B5, {1.0f, 0.5f, 0.5f, 0}, {0x10, 0xFC}}, // 31, 32, 16
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Pixels::GetFormatName(c.format));
        Bytes element(c.element.size(), 0xEE);
        detail::packColourF(c.format, c.colour, element.data());
        EXPECT_EQ(element, c.element);
    }
}

TEST(CopyPixelsConversion, FloatPathKeepsChannelsTheSourceDoesNotSet) {
    const float red[2] = {0.25f, 0.75f};
    float out[8] = {};
    PixelBox::CopyPixels(PixelBox(2, 1, 1, PF_FLOAT32_R, const_cast<float*>(red)),
                         PixelBox(2, 1, 1, PF_FLOAT32_RGBA, out));
    const float expected[8] = {0.25f, 0, 0, 1, 0.75f, 0, 0, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(out[i], expected[i]) << i;
}

TEST(CopyPixelsConversion, SourceWithoutConversionFillsTheStartColour) {
    std::uint8_t source[6] = {1, 2, 3, 4, 5, 6}; // PF_X8R8G8B8: no per-pixel conversion
    std::uint8_t out[8] = {};
    PixelBox::CopyPixels(PixelBox(2, 1, 1, PF_X8R8G8B8, source), PixelBox(2, 1, 1, PF_A8R8G8B8, out));
    const std::uint8_t expected[8] = {0, 0, 0, 255, 0, 0, 0, 255};
    EXPECT_TRUE(std::equal(out, out + 8, expected));
}

TEST(CopyPixelsConversion, SwapsRedAndBlueExactlyBetweenArgbAndAbgr) {
    Bytes argb(256 * 4), abgr(256 * 4), back(256 * 4);
    for (int i = 0; i < 256; ++i) {
        argb[4 * i + 0] = static_cast<std::uint8_t>(i ^ 0x55); // blue
        argb[4 * i + 1] = static_cast<std::uint8_t>(255 - i);  // green
        argb[4 * i + 2] = static_cast<std::uint8_t>(i);        // red
        argb[4 * i + 3] = static_cast<std::uint8_t>(i * 7);    // alpha
    }
    PixelBox::CopyPixels(PixelBox(256, 1, 1, PF_A8R8G8B8, argb.data()),
                         PixelBox(256, 1, 1, PF_A8B8G8R8, abgr.data()));
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(abgr[4 * i + 0], argb[4 * i + 2]);
        ASSERT_EQ(abgr[4 * i + 1], argb[4 * i + 1]);
        ASSERT_EQ(abgr[4 * i + 2], argb[4 * i + 0]);
        ASSERT_EQ(abgr[4 * i + 3], argb[4 * i + 3]);
    }
    PixelBox::CopyPixels(PixelBox(256, 1, 1, PF_A8B8G8R8, abgr.data()),
                         PixelBox(256, 1, 1, PF_A8R8G8B8, back.data()));
    EXPECT_EQ(back, argb);
}

// Every pair of different, uncompressed formats converts as if each pixel went through a float
// colour one element at a time: the per-pair converters are held to the per-element rules.
TEST(CopyPixelsConversion, EveryFormatPairMatchesThePerElementRules) {
    constexpr std::uint32_t kCount = 301; // odd, so that every converter also ends on a single element
    std::mt19937 random(12345);
    for (unsigned s = 0; s < PF_COUNT; ++s) {
        const auto source = static_cast<PixelFormat>(s);
        if (Pixels::IsCompressed(source))
            continue;
        const std::uint32_t sb = Pixels::GetNumElemBytes(source);
        Bytes src(std::max<std::uint32_t>(sb, 1) * kCount);
        if (detail::groupOf(source) == detail::Group::Float) {
            std::uniform_real_distribution<float> value(-0.25f, 1.25f);
            for (std::size_t i = 0; i + 4 <= src.size(); i += 4) {
                const float v = i < 16 ? (i % 8 == 0 ? 1.0f : 0.0f) : value(random);
                std::memcpy(&src[i], &v, 4);
            }
        } else {
            for (std::size_t i = 0; i < src.size(); ++i)
                src[i] = i < 2 * sb ? (i < sb ? 0xFF : 0x00) : static_cast<std::uint8_t>(random());
        }
        for (unsigned d = 0; d < PF_COUNT; ++d) {
            const auto destination = static_cast<PixelFormat>(d);
            if (d == s || Pixels::IsCompressed(destination))
                continue;
            SCOPED_TRACE(std::string(Pixels::GetFormatName(source)) + " -> " +
                         Pixels::GetFormatName(destination));
            const std::uint32_t db = Pixels::GetNumElemBytes(destination);
            Bytes expected(db * kCount, 0xCD), actual(db * kCount, 0xCD);
            ColorF colour{0.0f, 0.0f, 0.0f, 1.0f};
            for (std::uint32_t x = 0; x < kCount; ++x) {
                detail::unpackColourF(source, src.data() + x * sb, colour);
                detail::packColourF(destination, colour, expected.data() + x * db);
            }
            PixelBox::CopyPixels(PixelBox(kCount, 1, 1, source, src.data()),
                                 PixelBox(kCount, 1, 1, destination, actual.data()));
            ASSERT_EQ(actual, expected);
        }
    }
}

TEST(ImagePixels, EightBitAccessOfFloatAndShortFormats) {
    Image2D floats(1, 1, PF_FLOAT32_RGB);
    floats.SetPixel(0, 0, Color{255, 51, 0, 7});
    const float* stored = static_cast<const float*>(floats.Bits());
    EXPECT_EQ(stored[0], 1.0f);
    EXPECT_EQ(stored[1], static_cast<float>(51 / 255.0));
    EXPECT_EQ(stored[2], 0.0f);
    Color back{};
    floats.GetPixel(0, 0, back);
    EXPECT_EQ(back.r, 255);
    EXPECT_EQ(back.g, 51);
    EXPECT_EQ(back.b, 0);
    EXPECT_EQ(back.a, 255); // the format has no alpha

    Image2D shorts(1, 1, PF_SHORT_RGB);
    shorts.SetPixel(0, 0, Color{10, 20, 30, 40});
    shorts.GetPixel(0, 0, back);
    EXPECT_EQ(back.r, 10);
    EXPECT_EQ(back.b, 30);
    EXPECT_EQ(back.a, 255);
}

TEST(ImagePixels, FloatAccessRoundTripsThroughEveryConvertibleFormat) {
    for (unsigned f = 0; f < PF_COUNT; ++f) {
        const auto format = static_cast<PixelFormat>(f);
        if (detail::groupOf(format) == detail::Group::None)
            continue;
        SCOPED_TRACE(Pixels::GetFormatName(format));
        Image2D image(2, 2, format);
        const ColorF in{1.0f, 0.0f, 1.0f, 1.0f};
        image.SetPixel(1, 1, in);
        ColorF out{0.5f, 0.5f, 0.5f, 0.5f};
        image.GetPixel(1, 1, out);
        EXPECT_EQ(out.r, 1.0f);
        ColorF untouched{0.5f, 0.5f, 0.5f, 0.5f};
        image.GetPixel(0, 0, untouched);
        EXPECT_EQ(untouched.r, 0.0f);
    }
}

} // namespace
