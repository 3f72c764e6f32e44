// The find-command search over 20,000 registered commands, run once for each keystroke of a
// ten-letter search text, against a plain substring scan of the same searchable captions
// kept in a vector. Both run in one process, alternating, and the best of several runs of each
// is compared. Target: the search takes at most 3 times as long.
#include "ribbon/FindCommand.h"

#include "DVTextCore/SearchableText.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/UIModuleProxy.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kFirstId = 40000;
constexpr int kCommands = 20000;
constexpr int kRuns = 15; // best of many: the machine may be busy with other work
const std::wstring kText = L"dimensions";

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<std::wstring> registerCommands() {
    const wchar_t* const words[] = {L"Line",  L"Circle", L"Dimension", L"Hatch",  L"Text",   L"Table",
                                    L"Sheet", L"Layer",  L"Linear",    L"Radial", L"Spline", L"Camera"};
    std::vector<std::wstring> captions;
    std::uint32_t seed = 1234;
    auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < kCommands; ++i) {
        const unsigned id = kFirstId + static_cast<unsigned>(i);
        std::wstring caption =
            std::wstring(words[next(12)]) + L" " + words[next(12)] + L"s " + std::to_wstring(i);
        DVCommandContainer::Instance().RegisterCommand(id, L"Bench" + std::to_wstring(i), DVCommandFlags());
        UIModuleProxy::CommandStrings strings;
        strings.Caption = strings.Title = caption;
        UIModuleProxy::Instance().SetCommandStrings(id, strings);
        captions.push_back(std::move(caption));
    }
    return captions;
}

} // namespace

int main() {
    const std::vector<std::wstring> captions = registerCommands();
    std::vector<std::wstring> searchable;
    for (const std::wstring& caption : captions)
        searchable.push_back(Dravik::GetSearchableEquivalent(caption));

    double bestSearch = 1e300, bestScan = 1e300;
    std::size_t found = 0, scanned = 0;
    for (int run = 0; run < kRuns; ++run) {
        Clock::time_point start = Clock::now();
        for (std::size_t typed = 1; typed <= kText.size(); ++typed)
            found += FillCommandList(kText.substr(0, typed)).size();
        bestSearch = std::min(bestSearch, since(start));

        start = Clock::now();
        for (std::size_t typed = 1; typed <= kText.size(); ++typed) {
            const std::wstring filter = kText.substr(0, typed);
            std::vector<const std::wstring*> hits;
            hits.reserve(searchable.size());
            for (const std::wstring& text : searchable)
                if (text.find(filter) != std::wstring::npos)
                    hits.push_back(&text);
            scanned += hits.size();
        }
        bestScan = std::min(bestScan, since(start));
    }
    std::printf("find-command search: %.2f ms per ten keystrokes (%zu results)\n", bestSearch, found / kRuns);
    std::printf("plain substring scan: %.2f ms per ten keystrokes (%zu results)\n", bestScan,
                scanned / kRuns);
    std::printf("ratio: %.2f (target at most 3)\n", bestSearch / bestScan);
    return 0;
}
