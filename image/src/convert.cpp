// One converter per pair of formats, generated from the format table, so that each pair runs a loop
// with its shifts, masks and channel rules fixed at compile time. The tests hold every pair to the
// per-element conversions of colour.cpp.
#include "convert.h"

#include "format_table.h"

#include <array>
#include <utility>

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

template <PixelFormat S, PixelFormat D>
void convertRow(const unsigned char* src, unsigned char* dst, std::size_t count) {
    constexpr unsigned srcBytes = elemBytes(S);
    constexpr unsigned dstBytes = elemBytes(D);
    for (std::size_t i = 0; i < count; ++i) {
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
