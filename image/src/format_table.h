// The format table and the channel-width rules every conversion of the library is built from.
#pragma once

#include "dvpimage/pixel_format.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace Image::detail {

static_assert(std::endian::native == std::endian::little, "elements are read and written little-endian");

struct FormatDesc {
    const char* name;
    std::uint8_t bits[4]; // red (or luminance), green, blue, alpha
    std::uint32_t flags;
    std::uint8_t components;
    std::uint32_t masks[4];
    std::uint8_t shifts[4];
};

inline constexpr FormatDesc kFormats[PF_COUNT] = {
    {"PF_UNKNOWN", {0, 0, 0, 0}, 0x00, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_L8", {8, 0, 0, 0}, 0x30, 1, {0xFF, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_L16", {16, 0, 0, 0}, 0x30, 1, {0xFFFF, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_R5G6B5", {5, 6, 5, 0}, 0x10, 3, {0xF800, 0x07E0, 0x001F, 0}, {11, 5, 0, 0}},
    {"PF_R8G8B8", {8, 8, 8, 0}, 0x10, 3, {0xFF0000, 0xFF00, 0xFF, 0}, {16, 8, 0, 0}},
    {"PF_B8G8R8", {8, 8, 8, 0}, 0x10, 3, {0xFF, 0xFF00, 0xFF0000, 0}, {0, 8, 16, 0}},
    {"PF_A8R8G8B8", {8, 8, 8, 8}, 0x11, 4, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {16, 8, 0, 24}},
    {"PF_A8B8G8R8", {8, 8, 8, 8}, 0x11, 4, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0, 8, 16, 24}},
    {"PF_B8G8R8A8", {8, 8, 8, 8}, 0x11, 4, {0xFF00, 0xFF0000, 0xFF000000, 0xFF}, {8, 16, 24, 0}},
    {"PF_R8G8B8A8", {8, 8, 8, 8}, 0x11, 4, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, {24, 16, 8, 0}},
    {"PF_X8R8G8B8", {8, 8, 8, 0}, 0x10, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {16, 8, 0, 24}},
    {"PF_X8B8G8R8", {8, 8, 8, 0}, 0x10, 3, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0, 8, 16, 24}},
    {"PF_DXT1", {0, 0, 0, 0}, 0x03, 3, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_DXT2", {0, 0, 0, 0}, 0x03, 4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_DXT3", {0, 0, 0, 0}, 0x03, 4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_DXT4", {0, 0, 0, 0}, 0x03, 4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_DXT5", {0, 0, 0, 0}, 0x03, 4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_FLOAT32_R", {32, 0, 0, 0}, 0x04, 1, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_FLOAT32_RGB", {32, 32, 32, 0}, 0x04, 3, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_FLOAT32_RGBA", {32, 32, 32, 32}, 0x05, 4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_DEPTH", {0, 0, 0, 0}, 0x08, 1, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_SHORT_RGBA", {16, 16, 16, 16}, 0x01, 4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_SHORT_RGB", {16, 16, 16, 0}, 0x00, 3, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_R8", {8, 0, 0, 0}, 0x00, 1, {0xFF, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_R16", {16, 0, 0, 0}, 0x00, 1, {0xFFFF, 0, 0, 0}, {0, 0, 0, 0}},
    {"PF_B5G6R5", {5, 6, 5, 0}, 0x10, 3, {0x001F, 0x07E0, 0xF800, 0}, {0, 5, 11, 0}},
};

constexpr const FormatDesc& desc(PixelFormat format) {
    return format < PF_COUNT ? kFormats[format] : kFormats[PF_UNKNOWN];
}

constexpr std::uint32_t elemBytes(PixelFormat format) {
    const FormatDesc& d = desc(format);
    return (d.bits[0] + d.bits[1] + d.bits[2] + d.bits[3]) / 8u;
}

constexpr bool isCompressed(PixelFormat format) {
    return format >= PF_DXT1 && format <= PF_DXT5;
}

// Which per-pixel conversion a format has, if any.
enum class Group { None, Packed, Short, Float };

constexpr Group groupOf(PixelFormat format) {
    switch (format) {
    case PF_L8:
    case PF_L16:
    case PF_R5G6B5:
    case PF_R8G8B8:
    case PF_B8G8R8:
    case PF_A8R8G8B8:
    case PF_A8B8G8R8:
    case PF_R16:
    case PF_B5G6R5:
        return Group::Packed;
    case PF_SHORT_RGBA:
    case PF_SHORT_RGB:
        return Group::Short;
    case PF_FLOAT32_R:
    case PF_FLOAT32_RGB:
    case PF_FLOAT32_RGBA:
        return Group::Float;
    default:
        return Group::None;
    }
}

// Channels a short or float format stores, in the order r, g, b, a.
constexpr unsigned storedChannels(PixelFormat format) {
    return desc(format).components;
}

// Rule 1: an 8-bit channel widened or narrowed to n bits.
constexpr std::uint32_t from8Bits(std::uint32_t v, unsigned n) {
    if (n < 8)
        return v >> (8 - n);
    if (n > 8)
        return v == 255 ? (1u << n) - 1 : v * ((1u << n) / 255u);
    return v;
}

// Rule 2: an n-bit channel brought to 8 bits. A channel of no bits reads as 255.
constexpr std::uint32_t to8Bits(std::uint32_t v, unsigned n) {
    if (n > 8)
        return v >> (n - 8);
    if (n < 8) {
        const std::uint32_t max = (1u << n) - 1;
        return v == max ? 255u : v * (256u / max);
    }
    return v;
}

// Rule 3: a float channel quantised to n bits. NaN counts as 0.
constexpr std::uint32_t floatToBits(float x, unsigned n) {
    if (!(x > 0.0f))
        return 0;
    const std::uint64_t scale = std::uint64_t{1} << n;
    if (x >= 1.0f)
        return static_cast<std::uint32_t>(scale - 1);
    return static_cast<std::uint32_t>(x * static_cast<float>(scale));
}

// Rule 4: an n-bit channel as a float from 0 to 1.
constexpr float bitsToFloat(std::uint32_t v, unsigned n) {
    if (n == 0)
        return 0.0f;
    return static_cast<float>(v) / static_cast<float>((std::uint64_t{1} << n) - 1);
}

// Rule 4 followed by rule 3, from n bits to m bits, in integer arithmetic; the tests check every value
// against the float rules. Narrowing is a shift: with v = 2^(n-m) q + r, v 2^m / (2^n - 1) is
// q + (q + 2^m r) / (2^n - 1), and q + 2^m r stays below 2^n - 1 except at the largest v. Widening
// divides: for every pair but 16 -> 16 the single-precision quotient lies farther from the next
// integer than its rounding error, so floor(v 2^m / (2^n - 1)) is the same number.
template <unsigned N, unsigned M> constexpr std::uint32_t mapBits(std::uint32_t v) {
    if constexpr (N == M && N <= 8) {
        return v;
    } else if constexpr (N > 8 && M > 8) {
        return floatToBits(bitsToFloat(v, N), M);
    } else if constexpr (N > M) {
        return v >> (N - M);
    } else {
        constexpr std::uint64_t srcMax = (std::uint64_t{1} << N) - 1;
        constexpr std::uint64_t dstMax = (std::uint64_t{1} << M) - 1;
        const std::uint64_t q = (std::uint64_t{v} << M) / srcMax;
        return static_cast<std::uint32_t>(q < dstMax ? q : dstMax);
    }
}

// Packed elements are little-endian integers of 1 to 4 bytes. Three bytes are put together a byte at
// a time: a copy through a 4-byte variable would stall the store forwarding of every pixel.
inline std::uint32_t readPacked(const unsigned char* p, unsigned bytes) {
    switch (bytes) {
    case 1:
        return p[0];
    case 2:
        return static_cast<std::uint32_t>(p[0] | p[1] << 8);
    case 3:
        return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
    default: {
        std::uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    }
}

inline void writePacked(unsigned char* p, std::uint32_t v, unsigned bytes) {
    switch (bytes) {
    case 4:
        std::memcpy(p, &v, sizeof v);
        break;
    case 3:
        p[2] = static_cast<unsigned char>(v >> 16);
        [[fallthrough]];
    case 2:
        p[1] = static_cast<unsigned char>(v >> 8);
        [[fallthrough]];
    case 1:
        p[0] = static_cast<unsigned char>(v);
        break;
    default:
        break;
    }
}

inline std::uint16_t readWord(const unsigned char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void writeWord(unsigned char* p, std::uint32_t v) {
    const auto w = static_cast<std::uint16_t>(v);
    std::memcpy(p, &w, sizeof w);
}

inline float readFloat(const unsigned char* p) {
    float v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void writeFloat(unsigned char* p, float v) {
    std::memcpy(p, &v, sizeof v);
}

// Pixel bytes of one image or one decoded picture may not exceed this: FreeImage computes some sizes
// in int, and every offset within such an image fits the 32-bit fields of a pixel box.
inline constexpr std::uint64_t kMaxPixelBytes = 0x7FFFFFFFu;

// Encoded bytes of one picture may not exceed this: FreeImage's memory handles count bytes in 32
// bits. A stream made from another stream reads no more than this either.
inline constexpr std::uint64_t kMaxEncodedBytes = UINT32_MAX;

} // namespace Image::detail
