#include "DravikKernel/StreamStrings.h"

#include "pal/text.h"

#include <string>

bool DvwWriteString(dvio::IWriteStream& stream, LPCWSTR text) {
    const std::string units = pal::text::toUtf16leBytes(text ? text : L"");
    const auto count = static_cast<std::uint32_t>(units.size() / 2);
    const unsigned char head[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                   static_cast<unsigned char>(count >> 16),
                                   static_cast<unsigned char>(count >> 24)};
    return stream.Write(head, sizeof head) == sizeof head &&
           stream.Write(units.data(), units.size()) == units.size();
}

bool DvwReadUniString(dvio::IReadStream& stream, CString& text) {
    text.Empty();
    unsigned char head[4];
    if (stream.Read(head, sizeof head) != sizeof head)
        return false;
    const std::uint32_t count = head[0] | (head[1] << 8) | (head[2] << 16) | (std::uint32_t(head[3]) << 24);
    if (count > kMaxStreamStringUnits)
        return false;
    // Read in pieces, so that a count the stream does not back costs no large allocation.
    std::string units;
    constexpr std::size_t kPiece = 1 << 16;
    char piece[kPiece];
    std::size_t left = std::size_t(count) * 2;
    while (left > 0) {
        const std::size_t want = left < kPiece ? left : kPiece;
        if (stream.Read(piece, want) != want)
            return false;
        units.append(piece, want);
        left -= want;
    }
    text = CString(pal::text::fromUtf16leBytes(units));
    return true;
}
