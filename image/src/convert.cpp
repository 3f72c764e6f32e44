// One converter per pair of formats, generated from the format table, so that each pair runs a loop
// with its shifts, masks and channel rules fixed at compile time. The tests hold every pair to the
// per-element conversions of colour.cpp.
#include "convert.h"

#include "format_table.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace Image::detail {
namespace {

enum class Source { Int, Float, Constant };

template <PixelFormat S, unsigned C> constexpr Source sourceKind() {
    switch (groupOf(S)) {
    case Group::Packed:
        return kFormats[S].bits[C] != 0 ? Source::Int : Source::Constant;
    case Group::Short:
        return C < storedChannels(S) ? Source::Int : Source::Constant;
    case Group::Float:
        return C < storedChannels(S) ? Source::Float : Source::Constant;
    default:
        return Source::Constant;
    }
}

template <PixelFormat S, unsigned C> constexpr unsigned sourceBits() {
    return groupOf(S) == Group::Short ? 16u : kFormats[S].bits[C];
}

// The value a channel the source does not set has: packed and short formats set it to 0.0; float
// formats and formats without conversion leave the start colour (0, 0, 0, 1).
template <PixelFormat S, unsigned C> constexpr float sourceConstant() {
    if (groupOf(S) == Group::Packed || groupOf(S) == Group::Short)
        return 0.0f;
    return C == 3 ? 1.0f : 0.0f;
}

template <PixelFormat D, unsigned C> constexpr bool destinationHas() {
    switch (groupOf(D)) {
    case Group::Packed:
        return kFormats[D].bits[C] != 0;
    case Group::Short:
    case Group::Float:
        return C < storedChannels(D);
    default:
        return false;
    }
}

template <PixelFormat D, unsigned C> constexpr unsigned destinationBits() {
    return groupOf(D) == Group::Short ? 16u : kFormats[D].bits[C];
}

template <PixelFormat S, PixelFormat D, unsigned C>
inline void convertChannel(const unsigned char* src, std::uint32_t srcPacked, unsigned char* dst,
                           std::uint32_t& dstPacked) {
    if constexpr (destinationHas<D, C>()) {
        constexpr Source kind = sourceKind<S, C>();
        if constexpr (groupOf(D) == Group::Float) {
            float value;
            if constexpr (kind == Source::Constant)
                value = sourceConstant<S, C>();
            else if constexpr (kind == Source::Float)
                value = readFloat(src + 4 * C);
            else if constexpr (groupOf(S) == Group::Short)
                value = bitsToFloat(readWord(src + 2 * C), 16);
            else
                value = bitsToFloat((srcPacked & kFormats[S].masks[C]) >> kFormats[S].shifts[C],
                                    sourceBits<S, C>());
            writeFloat(dst + 4 * C, value);
        } else {
            constexpr unsigned M = destinationBits<D, C>();
            std::uint32_t value;
            if constexpr (kind == Source::Constant) {
                constexpr std::uint32_t constant = floatToBits(sourceConstant<S, C>(), M);
                value = constant;
            } else if constexpr (kind == Source::Float) {
                value = floatToBits(readFloat(src + 4 * C), M);
            } else if constexpr (groupOf(S) == Group::Short) {
                value = mapBits<16, M>(readWord(src + 2 * C));
            } else {
                value = mapBits<sourceBits<S, C>(), M>((srcPacked & kFormats[S].masks[C]) >>
                                                       kFormats[S].shifts[C]);
            }
            if constexpr (groupOf(D) == Group::Short)
                writeWord(dst + 2 * C, value);
            else
                dstPacked |= value << kFormats[D].shifts[C];
        }
    }
}

// One packed element to another; the channel rules fold into masks and shifts.
template <PixelFormat S, PixelFormat D> inline std::uint32_t convertPacked(std::uint32_t srcPacked) {
    std::uint32_t dstPacked = 0;
    convertChannel<S, D, 0>(nullptr, srcPacked, nullptr, dstPacked);
    convertChannel<S, D, 1>(nullptr, srcPacked, nullptr, dstPacked);
    convertChannel<S, D, 2>(nullptr, srcPacked, nullptr, dstPacked);
    convertChannel<S, D, 3>(nullptr, srcPacked, nullptr, dstPacked);
    return dstPacked;
}

// Three-byte elements read one at a time cost three loads each; four of them are three words.
template <PixelFormat S, PixelFormat D> constexpr bool convertsFourAtATime() {
    return std::endian::native == std::endian::little && groupOf(S) == Group::Packed &&
           groupOf(D) == Group::Packed && elemBytes(S) == 3;
}

template <PixelFormat S, PixelFormat D>
std::size_t convertFourAtATime(const unsigned char*& src, unsigned char*& dst, std::size_t count) {
    constexpr unsigned dstBytes = elemBytes(D);
    std::size_t done = 0;
    for (; done + 4 <= count; done += 4) {
        std::uint32_t w[3];
        std::memcpy(w, src, sizeof w);
        const std::uint32_t out[4] = {
            convertPacked<S, D>(w[0] & 0xFFFFFFu),
            convertPacked<S, D>(w[0] >> 24 | (w[1] & 0xFFFFu) << 8),
            convertPacked<S, D>(w[1] >> 16 | (w[2] & 0xFFu) << 16),
            convertPacked<S, D>(w[2] >> 8),
        };
        if constexpr (dstBytes == 4) {
            std::memcpy(dst, out, sizeof out);
        } else {
            for (unsigned k = 0; k < 4; ++k)
                writePacked(dst + k * dstBytes, out[k], dstBytes);
        }
        src += sizeof w;
        dst += 4 * dstBytes;
    }
    return done;
}

#if defined(__x86_64__) || defined(__i386__)
// Three-byte elements that become four-byte ones by moving whole bytes and adding constant ones
// (24 to 32 bits): one byte shuffle converts four elements.
// A packed source gives the channels it lacks the value 0.0, that is the byte 0, which is what the
// shuffle puts where it has no source byte.
static_assert(floatToBits(0.0f, 8) == 0);

struct ByteShuffle {
    bool possible = false;
    std::array<unsigned char, 16> order{}; // source byte of each destination byte; 0x80: zero
};

template <PixelFormat S, PixelFormat D> constexpr ByteShuffle byteShuffle() {
    ByteShuffle shuffle;
    if (groupOf(S) != Group::Packed || groupOf(D) != Group::Packed || elemBytes(S) != 3 || elemBytes(D) != 4)
        return shuffle;
    std::array<int, 4> from{-1, -1, -1, -1}; // per destination byte
    for (unsigned c = 0; c < 4; ++c) {
        const auto& d = kFormats[D];
        if (d.bits[c] == 0)
            continue;
        if (d.bits[c] != 8 || d.shifts[c] % 8 != 0)
            return shuffle;
        const auto& src = kFormats[S];
        const unsigned at = d.shifts[c] / 8u;
        if (src.bits[c] == 8 && src.shifts[c] % 8 == 0)
            from[at] = src.shifts[c] / 8;
        else if (src.bits[c] != 0)
            return shuffle;
    }
    for (unsigned k = 0; k < 16; ++k) {
        const int byte = from[k % 4];
        shuffle.order[k] =
            byte < 0 ? 0x80 : static_cast<unsigned char>(3 * (k / 4) + static_cast<unsigned>(byte));
    }
    shuffle.possible = true;
    return shuffle;
}

template <PixelFormat S, PixelFormat D>
__attribute__((target("ssse3"))) std::size_t shuffleRow(const unsigned char*& src, unsigned char*& dst,
                                                        std::size_t count) {
    static constexpr ByteShuffle shuffle = byteShuffle<S, D>();
    const __m128i order = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shuffle.order.data()));
    std::size_t done = 0;
    // Each load takes 16 bytes for the 12 it uses: it stays within the row while 6 elements are left.
    for (; done + 6 <= count; done += 4) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi8(in, order));
        src += 12;
        dst += 16;
    }
    return done;
}

bool haveSsse3() {
    // Initialised here too, in case the first conversion runs before the constructors that would.
    static const bool have = (__builtin_cpu_init(), __builtin_cpu_supports("ssse3"));
    return have;
}
#endif

template <PixelFormat S, PixelFormat D>
void convertRow(const unsigned char* src, unsigned char* dst, std::size_t count) {
    constexpr unsigned srcBytes = elemBytes(S);
    constexpr unsigned dstBytes = elemBytes(D);
    std::size_t first = 0;
#if defined(__x86_64__) || defined(__i386__)
    if constexpr (byteShuffle<S, D>().possible)
        if (haveSsse3())
            first = shuffleRow<S, D>(src, dst, count);
#endif
    if constexpr (convertsFourAtATime<S, D>())
        first += convertFourAtATime<S, D>(src, dst, count - first);
    for (std::size_t i = first; i < count; ++i) {
        std::uint32_t srcPacked = 0;
        if constexpr (groupOf(S) == Group::Packed)
            srcPacked = readPacked(src, srcBytes);
        std::uint32_t dstPacked = 0;
        convertChannel<S, D, 0>(src, srcPacked, dst, dstPacked);
        convertChannel<S, D, 1>(src, srcPacked, dst, dstPacked);
        convertChannel<S, D, 2>(src, srcPacked, dst, dstPacked);
        convertChannel<S, D, 3>(src, srcPacked, dst, dstPacked);
        if constexpr (groupOf(D) == Group::Packed)
            writePacked(dst, dstPacked, dstBytes);
        src += srcBytes;
        dst += dstBytes;
    }
}

template <std::size_t I> constexpr RowConverter converterAt() {
    constexpr auto S = static_cast<PixelFormat>(I / PF_COUNT);
    constexpr auto D = static_cast<PixelFormat>(I % PF_COUNT);
    if constexpr (groupOf(D) == Group::None)
        return nullptr;
    else
        return &convertRow<S, D>;
}

template <std::size_t... I> constexpr auto makeConverters(std::index_sequence<I...>) {
    return std::array<RowConverter, sizeof...(I)>{converterAt<I>()...};
}

constexpr auto kConverters = makeConverters(std::make_index_sequence<std::size_t{PF_COUNT} * PF_COUNT>{});

} // namespace

RowConverter rowConverter(PixelFormat source, PixelFormat destination) {
    if (source >= PF_COUNT || destination >= PF_COUNT)
        return nullptr;
    return kConverters[std::size_t{source} * PF_COUNT + destination];
}

} // namespace Image::detail
