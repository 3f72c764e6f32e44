#include "frame/ControlTable.h"

#include "DravikUI/XML.h"

#include "DVDiagnostics/DVLog.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cwctype>
#include <map>
#include <vector>

namespace {

namespace Tags = Dravik::UI::XML::TagNames;
using C = CustomControlClass;

struct FixedControl {
    int id;
    CustomControlEntry entry;
};

const FixedControl kFixedControls[] = {
    {799, {C::FindCommandButton}},
    {900, {C::PseudoMenuBar}},
    {904, {C::ColorPopup}},
    {905, {C::MaterialPopup, nullptr, 0, 0.0, true}},
    {907, {C::SyspanelEdit, L"Level", 2, -1.0}},
    {909, {C::SyspanelEdit, L"Priority", 2, -1.0}},
    {910, {C::StaticImage, nullptr, 0, 0.0, false, 218}},
    {911, {C::LayerPopup}},
    {912, {C::LCSPopup}},
    {914, {C::FontComboBox}},
    {915, {C::SyspanelEdit, L"FontSize", 9, -1.0, false, 0, 1016, 1023}},
    {918, {C::MaterialPopup, nullptr, 0, 0.0, false}},
    {1118, {C::ProfilePopup}},
    {1251, {C::FindComboBox}},
    {2041, {C::OptixCameraPopup}},
    {2042, {C::OptixQualityPopup}},
    {2825, {C::MoveToMainWindowPopup}},
    {2851, {C::ThemesPopup, nullptr, 0, 0.0, false, 0, 0, 0, 8}},
    {2852, {C::DockingPanesPopup}},
};

// A group id, its commands, 0; as the groups were listed when the popups were designed.
constexpr int kGroupList[] = {
    41469, 1027, 2036, 1093, 1265, 2054, 1201,  1036, 1039, 0,    9014,  1076, 1020,  1234, 1084,  1083, 1224,
    0,     9015, 1006, 1028, 1030, 1009, 0,     9018, 1259, 1407, 1408,  1260, 1542,  1261, 1262,  1844, 1845,
    1846,  1847, 1666, 0,    9019, 1300, 1849,  1696, 0,    9020, 1314,  1400, 1366,  3104, 0,     9021, 1308,
    1468,  1472, 0,    9022, 1334, 2960, 2961,  2962, 2963, 1375, 1379,  0,    9023,  1318, 1363,  1397, 0,
    9024,  1310, 1328, 1373, 7221, 0,    9025,  1354, 1426, 1487, 1499,  1501, 1503,  1485, 1140,  1402, 3081,
    0,     9026, 1404, 2980, 2987, 3104, 3117,  3133, 1431, 1475, 1393,  0,    41519, 1564, 1561,  1562, 1563,
    1570,  1572, 0,    9027, 1803, 1761, 1377,  1382, 1611, 0,    9028,  1752, 1490,  1506, 1514,  1508, 1510,
    1512,  1915, 1516, 1218, 0,    9029, 1767,  1779, 1781, 1777, 2876,  1927, 1929,  1979, 2861,  1981, 1604,
    1595,  2925, 2927, 2932, 2943, 0,    9030,  1783, 1785, 2904, 1986,  3176, 1994,  1596, 2967,  0,    9031,
    1938,  3118, 1940, 1942, 1944, 1946, 1410,  0,    9035, 1641, 1644,  1640, 1643,  1642, 1651,  0,    9036,
    1646,  1647, 1648, 1649, 1652, 1653, 0,     9037, 1658, 1654, 1655,  1656, 0,     9038, 1827,  1828, 1829,
    0,     9039, 1830, 1831, 1832, 1833, 0,     9040, 1838, 1839, 1840,  1841, 0,     1825, 1825,  2040, 2870,
    1850,  1851, 1852, 1853, 1854, 0,    43505, 1065, 2044, 0,    43506, 1064, 2043,  0,    43505, 2096, 2102,
    2098,  2100, 2103, 2101, 2114, 0,    -1,    1222, 2945, 1587, 1588,  2984, 2985,  0,
};

struct Groups {
    std::map<int, int> groupOf;
    std::map<int, std::vector<int>> commands;
};

const Groups& groups() {
    static const Groups built = [] {
        Groups result;
        bool head = true;
        int group = 0;
        for (const int value : kGroupList) {
            if (head) {
                group = value;
                head = false;
            } else if (value == 0) {
                head = true;
            } else {
                result.groupOf[value] = group; // a later group wins
                result.commands[group].push_back(value);
            }
        }
        return result;
    }();
    return built;
}

constexpr int kPopup1340[] = {1275, 1276, 1273, 1813, 1997, 1270, 1968, 1274, 1969,
                              1794, 1271, 1272, 1970, 1277, 2896, 3173, 1278, 1811};
constexpr int kPopup1122[] = {1236, 2135, 1043, 1993, 1706, 1237, 1239, 1112, 1361, 8382};
constexpr int kPopup1339[] = {1365, 1324, 1323, 1325, 2059, 2060, 2061, 1396, 3144};
constexpr int kPopup1341[] = {1352, 1348, 1353, 1338, 1350, 1346, 1351, 1347, 1336, 1349, 1337, 1338};
constexpr int kPopup1416[] = {1416, 1417};
constexpr int kRefill[] = {1346, 1347, 1348, 1349, 1350, 1351, 1352, 1353, 1336, 1337};

constexpr int kDeferred[] = {1275, 1276, 1273, 1813, 1997, 1270, 1968, 1274, 1969,
                             1794, 1271, 1272, 1970, 1277, 2896, 3173, 1278};

void logWide(int level, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(level, format, args);
    va_end(args);
}

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i]))) != prefix[i])
            return false;
    return true;
}

} // namespace

std::optional<CustomControlEntry> FindCustomControl(int id, std::wstring_view tag) {
    for (const FixedControl& fixed : kFixedControls)
        if (fixed.id == id)
            return fixed.entry;
    if (id == 1026 || id == 1072 || id == 1314) {
        if (tag == Tags::Button)
            return CustomControlEntry{C::FileButton};
        if (tag == Tags::Gallery)
            return CustomControlEntry{C::LibraryGallery};
        return CustomControlEntry{};
    }
    if (id == 0)
        return CustomControlEntry{tag == L"ribbonTabsPopup" ? C::RibbonTabsPopup : C::None};
    return std::nullopt;
}

std::optional<int> FindCommandGroup(int id) {
    const auto& map = groups().groupOf;
    const auto found = map.find(id);
    if (found == map.end())
        return std::nullopt;
    return found->second;
}

std::span<const int> CommandGroupCommands(int group) {
    const auto& map = groups().commands;
    const auto found = map.find(group);
    if (found == map.end())
        return {};
    return found->second;
}

std::span<const int> FixedPopupCommands(int id) {
    switch (id) {
    case 1340:
        return kPopup1340;
    case 1122:
        return kPopup1122;
    case 1339:
        return kPopup1339;
    case 1341:
        return kPopup1341;
    case 1416:
        return kPopup1416;
    default:
        return {};
    }
}

bool FixedPopupHasExpandButton(int id) {
    return id == 1122;
}

std::span<const int> RefilledPopupCommands() {
    return kRefill;
}

bool IsDeferredPopupCommand(int id) {
    return std::find(std::begin(kDeferred), std::end(kDeferred), id) != std::end(kDeferred);
}

std::optional<std::size_t> ToolBarDefinitionIndex(int id, std::size_t count) {
    if (id < 700 || id > 749)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(id - 700);
    if (index >= count)
        return std::nullopt;
    return index;
}

bool IsAcceptedControlUrl(std::wstring_view value) {
    if (startsWithNoCase(value, L"http://") || startsWithNoCase(value, L"https://"))
        return true;
    logWide(DVLogWarning, L"A control's \"url\" is not a web address and is ignored: \"%s\"",
            std::wstring(value).c_str());
    return false;
}

std::wstring GetStrWithoutCommandLetters(std::wstring_view text) {
    std::wstring in(text);
    // Translations put the Latin letter in brackets at the end ("Файл(&F)"); it goes altogether.
    if (in.size() >= 4 && in.back() == L')' && in[in.size() - 4] == L'(' && in[in.size() - 3] == L'&') {
        in.erase(in.size() - 4);
        while (!in.empty() && in.back() == L' ')
            in.pop_back();
    }
    std::wstring out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == L'&') {
            if (i + 1 < in.size() && in[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += in[i];
    }
    return out;
}

std::wstring CleanControlDescription(std::wstring_view text, int controlType) {
    if (controlType == 2 || controlType == 3)
        return GetStrWithoutCommandLetters(text);
    std::wstring out(text);
    std::erase(out, L'&');
    return out;
}
