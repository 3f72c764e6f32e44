#include "DravikUI/XML.h"

#include "NodeText.h"

#include "DVDiagnostics/Trace.h"

#include <array>
#include <atomic>
#include <cwctype>

namespace Dravik::UI::XML {
namespace {

std::atomic<int> g_product{-1};
std::atomic<std::uint32_t> g_mode{0};

// Product numbers in order, with the names state files carry and the tokens of "editions".
struct Product {
    std::wstring_view name;
    std::wstring_view token;
};
constexpr std::array<Product, 6> kProducts = {{{L"2D", L"2d"},
                                               {L"3D", L"3d"},
                                               {L"SE", L"se"},
                                               {L"Alder", L"alder"},
                                               {L"Birch", L"birch"},
                                               {L"AlderAdministrator", L"alderAdministrator"}}};

constexpr std::uint32_t kAllModes = 1 | 2 | 4 | 8 | 16 | 32 | 128 | 256 | 512;

std::wstring_view trim(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

} // namespace

void SetProduct(int product) {
    dvtrace::record("DravikUI", "SetProduct(" + std::to_string(product) + ")");
    g_product = product >= 0 && product < static_cast<int>(kProducts.size()) ? product : -1;
}

int GetProduct() {
    return g_product;
}

std::wstring GetProductName() {
    const int product = g_product;
    return product < 0 ? std::wstring() : std::wstring(kProducts[product].name);
}

void SetMode(std::uint32_t modeCode) {
    g_mode = modeCode;
}

std::uint32_t GetMode() {
    return g_mode;
}

void ParseValueSet(std::wstring_view text,
                   const std::function<void(std::wstring_view token, bool excluded)>& action) {
    while (!text.empty()) {
        const std::size_t comma = text.find(L',');
        std::wstring_view token = trim(text.substr(0, comma));
        text = comma == std::wstring_view::npos ? std::wstring_view() : text.substr(comma + 1);
        const bool excluded = !token.empty() && token.front() == L'!';
        if (excluded)
            token = trim(token.substr(1));
        if (!token.empty())
            action(token, excluded);
    }
}

std::uint32_t ParseValueSetMask(std::wstring_view text, std::initializer_list<ValueSetName> names,
                                std::uint32_t all) {
    std::uint32_t mask = 0;
    bool first = true;
    ParseValueSet(text, [&](std::wstring_view token, bool excluded) {
        if (first && excluded)
            mask = all;
        first = false;
        std::uint32_t bits = 0;
        if (equalNoCase(token, L"all")) {
            bits = all;
        } else {
            for (const ValueSetName& name : names)
                if (equalNoCase(token, name.token))
                    bits = name.bits;
        }
        mask = excluded ? (mask & ~bits) : (mask | bits);
    });
    return mask;
}

bool IsApplicable(std::wstring_view editions, std::wstring_view modes) {
    const int product = g_product;
    if (product >= 0 && !trim(editions).empty()) {
        const std::uint32_t mask = ParseValueSetMask(
            editions,
            {{L"2d", 1}, {L"3d", 2}, {L"se", 4}, {L"alder", 8}, {L"birch", 16}, {L"alderAdministrator", 32}},
            63);
        if ((mask & (1u << product)) == 0)
            return false;
    }
    const std::uint32_t mode = g_mode;
    if (mode != 0 && !trim(modes).empty()) {
        const std::uint32_t mask = ParseValueSetMask(modes,
                                                     {{L"viewer", 1},
                                                      {L"2d", 2},
                                                      {L"se", 4},
                                                      {L"3d", 8},
                                                      {L"gs", 16},
                                                      {L"gs3d", 32},
                                                      {L"alder", 128},
                                                      {L"birch", 256},
                                                      {L"alderAdministrator", 512}},
                                                     kAllModes);
        if ((mask & mode) == 0)
            return false;
    }
    return true;
}

bool IsApplicable(const Node& element) {
    return IsApplicable(element.attribute(AttributeNames::Editions).value_or(L""),
                        element.attribute(AttributeNames::Modes).value_or(L""));
}

bool StringToBool(std::wstring_view text, bool previous) {
    text = trim(text);
    for (std::wstring_view yes : {L"true", L"1", L"yes", L"on"})
        if (equalNoCase(text, yes))
            return true;
    for (std::wstring_view no : {L"false", L"0", L"no", L"off"})
        if (equalNoCase(text, no))
            return false;
    return previous;
}

} // namespace Dravik::UI::XML
