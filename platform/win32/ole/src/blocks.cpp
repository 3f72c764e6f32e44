#include "blocks.h"

#include "pal/text.h"

#include <cstring>

namespace pal::ole {
namespace {

char16_t unitAt(std::string_view bytes, size_t offset) {
    char16_t u;
    std::memcpy(&u, bytes.data() + offset, 2);
    return u;
}

// The UTF-16 text from `offset` up to its terminator, or nullopt when there is none in the block.
std::optional<std::u16string> wideString(std::string_view bytes, size_t& offset) {
    std::u16string out;
    for (; offset + 2 <= bytes.size(); offset += 2) {
        const char16_t u = unitAt(bytes, offset);
        if (u == 0) {
            offset += 2;
            return out;
        }
        out.push_back(u);
    }
    return std::nullopt;
}

std::optional<std::string> narrowString(std::string_view bytes, size_t& offset) {
    const size_t end = bytes.find('\0', offset);
    if (end == std::string_view::npos)
        return std::nullopt;
    std::string out(bytes.substr(offset, end - offset));
    offset = end + 1;
    return out;
}

} // namespace

std::optional<std::string> bytesOf(HGLOBAL memory) {
    const SIZE_T size = GlobalSize(memory);
    const void* p = GlobalLock(memory);
    if (!p)
        return std::nullopt;
    std::string out(static_cast<const char*>(p), size);
    GlobalUnlock(memory);
    return out;
}

HGLOBAL globalOf(std::string_view bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h)
        return nullptr;
    if (!bytes.empty()) {
        std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    return h;
}

bool blockSound(UINT format, std::string_view bytes) {
    size_t offset = 0;
    switch (format) {
    case CF_TEXT:
    case CF_OEMTEXT:
        return narrowString(bytes, offset).has_value();
    case CF_UNICODETEXT:
        return wideString(bytes, offset).has_value();
    case CF_HDROP:
        return parseDropFiles(bytes).has_value();
    default:
        return true;
    }
}

std::string convertText(UINT from, std::string_view bytes) {
    size_t offset = 0;
    if (from == CF_UNICODETEXT) {
        const auto wide = wideString(bytes, offset);
        std::string out = wide ? pal::text::toUtf8(pal::text::fromUtf16(*wide)) : std::string();
        out.push_back('\0');
        return out;
    }
    const auto narrow = narrowString(bytes, offset);
    const std::u16string wide = narrow ? pal::text::toUtf16(pal::text::fromUtf8(*narrow)) : std::u16string();
    std::string out(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    out.append(2, '\0');
    return out;
}

std::optional<DropList> parseDropFiles(std::string_view bytes) {
    DROPFILES header;
    if (bytes.size() < sizeof header)
        return std::nullopt;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (header.pFiles < sizeof header || header.pFiles > bytes.size())
        return std::nullopt;
    DropList list;
    list.point = header.pt;
    list.nonClient = header.fNC != 0;
    size_t offset = header.pFiles;
    for (;;) {
        std::wstring path;
        if (header.fWide) {
            auto s = wideString(bytes, offset);
            if (!s)
                return std::nullopt;
            path = pal::text::fromUtf16(*s);
        } else {
            auto s = narrowString(bytes, offset);
            if (!s)
                return std::nullopt;
            path = pal::text::fromUtf8(*s);
        }
        if (path.empty()) // the closing terminator
            return list;
        list.paths.push_back(std::move(path));
    }
}

std::string buildDropFiles(const std::vector<std::wstring>& paths, POINT point, bool nonClient) {
    DROPFILES header{sizeof(DROPFILES), point, nonClient ? TRUE : FALSE, TRUE};
    std::string out(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::wstring& p : paths) {
        const std::u16string u = pal::text::toUtf16(p);
        out.append(reinterpret_cast<const char*>(u.data()), u.size() * 2);
        out.append(2, '\0');
    }
    out.append(2, '\0');
    return out;
}

} // namespace pal::ole
