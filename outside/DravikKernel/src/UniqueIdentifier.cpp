#include "DravikKernel/UniqueIdentifier.h"

#include <cstdio>
#include <iterator>
#include <random>

namespace Dravik {

std::optional<UniqueIdentifier> UniqueIdentifier::TryParse(std::wstring_view text) {
    if (text.size() == 38 && text.front() == L'{' && text.back() == L'}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    UniqueIdentifier id;
    size_t byte = 0;
    for (size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != L'-')
                return std::nullopt;
            ++i;
            continue;
        }
        int value = 0;
        for (int k = 0; k < 2; ++k, ++i) {
            const wchar_t c = text[i];
            int digit;
            if (c >= L'0' && c <= L'9')
                digit = c - L'0';
            else if (c >= L'a' && c <= L'f')
                digit = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F')
                digit = c - L'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + digit;
        }
        id.bytes[byte++] = static_cast<std::uint8_t>(value);
    }
    return id;
}

} // namespace Dravik

std::wstring UniqueIdentifierToString(const Dravik::UniqueIdentifier& id) {
    const auto& b = id.bytes;
    wchar_t text[40];
    std::swprintf(text, std::size(text),
                  L"{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0], b[1], b[2],
                  b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

Dravik::UniqueIdentifier GenerateUniqueIdentifier() {
    // One generator per thread, seeded once from the system's entropy: identifiers are made by
    // the thousand when a large configuration is read.
    thread_local std::mt19937_64 generator = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    Dravik::UniqueIdentifier id;
    for (size_t i = 0; i < id.bytes.size(); i += 8) {
        const std::uint64_t value = generator();
        for (size_t k = 0; k < 8; ++k)
            id.bytes[i + k] = static_cast<std::uint8_t>(value >> (8 * k));
    }
    id.bytes[6] = static_cast<std::uint8_t>((id.bytes[6] & 0x0F) | 0x40); // version 4
    id.bytes[8] = static_cast<std::uint8_t>((id.bytes[8] & 0x3F) | 0x80);
    return id;
}
