#include "colour.h"

#include "format_table.h"

namespace Image::detail {
namespace {

constexpr std::uint8_t Color::*kChannels8[4] = {&Color::r, &Color::g, &Color::b, &Color::a};
constexpr float ColorF::*kChannelsF[4] = {&ColorF::r, &ColorF::g, &ColorF::b, &ColorF::a};

} // namespace

bool packColour(PixelFormat format, const Color& colour, void* element) {
    auto* p = static_cast<unsigned char*>(element);
    const FormatDesc& d = desc(format);
    switch (groupOf(format)) {
    case Group::Packed: {
        std::uint32_t value = 0;
        for (int c = 0; c < 4; ++c)
            value |= (from8Bits(colour.*kChannels8[c], d.bits[c]) << d.shifts[c]) & d.masks[c];
        writePacked(p, value, elemBytes(format));
        return true;
    }
    case Group::Short:
        for (unsigned c = 0; c < storedChannels(format); ++c)
            writeWord(p + 2 * c, colour.*kChannels8[c]);
        return true;
    default:
        return false;
    }
}

bool unpackColour(PixelFormat format, const void* element, Color& colour) {
    const auto* p = static_cast<const unsigned char*>(element);
    const FormatDesc& d = desc(format);
    switch (groupOf(format)) {
    case Group::Packed: {
        const std::uint32_t value = readPacked(p, elemBytes(format));
        for (int c = 0; c < 4; ++c)
            colour.*kChannels8[c] =
                static_cast<std::uint8_t>(to8Bits((value & d.masks[c]) >> d.shifts[c], d.bits[c]));
        return true;
    }
    case Group::Short:
        for (unsigned c = 0; c < storedChannels(format); ++c)
            colour.*kChannels8[c] = static_cast<std::uint8_t>(readWord(p + 2 * c));
        return true;
    default:
        return false;
    }
}

// Packed formats convert each channel at its own width; for channels of 8 or 0 bits this is the
// 8-bit path exactly, and the narrower and wider channels keep their full precision.
void packColourF(PixelFormat format, const ColorF& colour, void* element) {
    auto* p = static_cast<unsigned char*>(element);
    const FormatDesc& d = desc(format);
    switch (groupOf(format)) {
    case Group::Packed: {
        std::uint32_t value = 0;
        for (int c = 0; c < 4; ++c) {
            if (d.bits[c] != 0)
                value |= (floatToBits(colour.*kChannelsF[c], d.bits[c]) << d.shifts[c]) & d.masks[c];
        }
        writePacked(p, value, elemBytes(format));
        break;
    }
    case Group::Short:
        for (unsigned c = 0; c < storedChannels(format); ++c)
            writeWord(p + 2 * c, floatToBits(colour.*kChannelsF[c], 16));
        break;
    case Group::Float:
        for (unsigned c = 0; c < storedChannels(format); ++c)
            writeFloat(p + 4 * c, colour.*kChannelsF[c]);
        break;
    case Group::None:
        break;
    }
}

void unpackColourF(PixelFormat format, const void* element, ColorF& colour) {
    const auto* p = static_cast<const unsigned char*>(element);
    const FormatDesc& d = desc(format);
    switch (groupOf(format)) {
    case Group::Packed: {
        const std::uint32_t value = readPacked(p, elemBytes(format));
        for (int c = 0; c < 4; ++c)
            colour.*kChannelsF[c] = bitsToFloat((value & d.masks[c]) >> d.shifts[c], d.bits[c]);
        break;
    }
    case Group::Short:
        for (unsigned c = 0; c < 4; ++c)
            colour.*kChannelsF[c] = c < storedChannels(format) ? bitsToFloat(readWord(p + 2 * c), 16) : 0.0f;
        break;
    case Group::Float:
        for (unsigned c = 0; c < storedChannels(format); ++c)
            colour.*kChannelsF[c] = readFloat(p + 4 * c);
        break;
    case Group::None:
        break;
    }
}

} // namespace Image::detail
