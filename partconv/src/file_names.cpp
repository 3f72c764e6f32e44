#include "partconv/file_names.h"

#include "pal/text.h"

#include <array>

namespace partconv {
namespace {

struct GuiseNames {
    int guise;
    std::string_view header;
    std::string_view narrowExtension;
    std::string_view wideExtension;
    bool suffix;     // narrow, and wide writing unless overridden below
    bool wideSuffix; // wide writing
};

// Guises 4 and 5 take neither extension nor suffix; guise 10 takes ".XML" without a suffix
// when written by wide name.
constexpr std::array<GuiseNames, 9> guises{{
    {1, "rollback", "", "", true, true},
    {2, "snapshot", ".snp", ".N", true, true},
    {3, "journal", ".jnl", ".J", true, true},
    {4, "transmit", "", "", false, false},
    {5, "unknown", "", "", false, false},
    {6, "schema", ".sch", ".S", true, true},
    {8, "transmit_partition", ".xmp", ".P", true, true},
    {9, "transmit_deltas", ".xmd", ".D", true, true},
    {10, "unknown", "", ".XML", true, false},
}};
constexpr GuiseNames unknownGuise{0, "unknown", "", "", true, true};

const GuiseNames& namesOf(int guise) {
    for (const auto& g : guises)
        if (g.guise == guise)
            return g;
    return unknownGuise;
}

std::string_view narrowSuffix(int format) {
    return format == formatBinary ? "_bin" : format == formatText ? "_txt" : "";
}
std::wstring_view wideSuffix(int format) {
    return format == formatBinary ? L"_B" : format == formatText ? L"_T" : L"";
}

constexpr int schemaGuise = 6;
constexpr std::size_t maxSchemaKey = 246;

} // namespace

std::string_view guiseHeaderName(int guise) {
    return namesOf(guise).header;
}

std::optional<std::string> narrowFileName(int guise, int format, std::string_view key,
                                          std::wstring_view programDir) {
    if (key.size() > maxNameLength)
        return std::nullopt;
    std::string name(key);
    if (guise == schemaGuise) {
        std::string joined = pal::text::toUtf8(programDir) + "\\SCHEMA\\" + name;
        if (joined.size() < maxNameLength)
            name = std::move(joined);
    }
    const std::size_t slash = name.rfind('\\');
    const std::size_t leaf = slash == std::string::npos ? 0 : slash + 1;
    name =
        name.substr(0, leaf) + pal::text::toUtf8(pal::text::toLower(pal::text::fromUtf8(name.substr(leaf))));
    const GuiseNames& g = namesOf(guise);
    if (g.guise != 4 && g.guise != 5) {
        name += g.narrowExtension;
        if (g.suffix)
            name += narrowSuffix(format);
    }
    if (name.size() > maxNameLength)
        return std::nullopt;
    return name;
}

std::optional<std::wstring> wideReadFileName(int guise, std::wstring_view key) {
    if (key.size() > maxNameLength)
        return std::nullopt;
    if (guise == schemaGuise && key.size() <= maxSchemaKey)
        return L"Schemas\\" + pal::text::toLower(key);
    return std::wstring(key);
}

std::optional<std::wstring> wideWriteFileName(int guise, int format, std::wstring_view key) {
    if (key.size() > maxNameLength)
        return std::nullopt;
    std::wstring name(key);
    if (guise == schemaGuise && key.size() <= maxSchemaKey)
        name = L"Schemas\\" + name;
    const GuiseNames& g = namesOf(guise);
    if (g.guise != 4 && g.guise != 5) {
        name += pal::text::fromUtf8(g.wideExtension);
        if (g.wideSuffix)
            name += wideSuffix(format);
    }
    if (name.size() > maxNameLength)
        return std::nullopt;
    return name;
}

std::string headerLine1() {
    return "**ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz**************************\n";
}

std::string headerLine2() {
    return "**PARASOLID !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~0123456789**************************\n";
}

std::string headerEndLine() {
    return "**END_OF_HEADER" + std::string(65, '*') + "\n";
}

std::string_view machineModel(int type) {
    switch (type) {
    case 386:
        return "INTEL_386";
    case 486:
        return "INTEL_486";
    case 586:
        return "INTEL_PENTIUM";
    case 2200:
        return "INTEL_IA64";
    case 8664:
        return "AMD_X64";
    default:
        return "Unknown";
    }
}

int processorType() {
#if defined(__x86_64__)
    return 8664;
#elif defined(__i386__)
    return 586;
#elif defined(__ia64__)
    return 2200;
#else
    return 0;
#endif
}

std::string headerDate(const SYSTEMTIME& utc) {
    static constexpr std::array<std::string_view, 12> months{"-jan-", "-feb-", "-mar-", "-apr-",
                                                             "-may-", "-jun-", "-jul-", "-aug-",
                                                             "-sep-", "-okt-", "-nov-", "-dec-"};
    const std::string_view month = utc.wMonth >= 1 && utc.wMonth <= 12 ? months[utc.wMonth - 1] : "-";
    return std::to_string(utc.wDay) + std::string(month) + std::to_string(utc.wYear);
}

std::optional<std::string> headerTextLines(std::string_view text) {
    std::string lines;
    for (std::size_t end; (end = text.find(';')) != std::string_view::npos; text.remove_prefix(end + 1)) {
        if (end + 1 > maxHeaderPiece)
            return std::nullopt;
        lines.append(text.substr(0, end + 1));
        lines += '\n';
    }
    return lines;
}

} // namespace partconv
