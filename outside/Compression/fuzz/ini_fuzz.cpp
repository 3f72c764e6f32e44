// libFuzzer target for the INI loader. Beyond not crashing, it checks that everything a
// load yields can be looked up by its own names and survives a save and a second load.
#include "Compression/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

std::wstring dump(const dvio::IniFile& ini) {
    std::wstring out;
    for (const auto& section : ini) {
        out += L'[' + section.name() + L']';
        for (const auto& e : section)
            out += e.key + L'=' + e.value + L'\n';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    dvio::IniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));

    for (const auto& section : ini) {
        const auto* found = ini.FindSection(section.name().c_str());
        require(found == &section);
        for (const auto& e : section) {
            require(ini.GetString(section.name().c_str(), e.key.c_str(), L"\x1") == e.value);
            (void)ini.GetInt(section.name().c_str(), e.key.c_str(), 0);
        }
    }

    dvio::IniFile again;
    again.Parse(ini.Serialize());
    require(dump(again) == dump(ini));

    dvio::IniFile merged;
    merged.Overlay(ini);
    require(dump(merged) == dump(ini));
    return 0;
}
