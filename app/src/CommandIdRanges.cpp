#include "app/CommandIdRanges.h"

#include <algorithm>

namespace dvapp {
namespace {

using enum CommandIdUse;

// 912 is the one id among the system-panel controls that is not one of them; the ApplyProfile
// commands cut the block of named commands in two.
constexpr CommandIdRange kRanges[] = {
    {680, 696, KernelCommand}, // material and configuration tool-bar commands
    {700, 749, RegisteredBlock},       {781, 799, PaneCommand},
    {800, 807, InterfaceToggle},       {811, 826, PaneCommand},
    {900, 900, KernelCommand}, // the main menu
    {903, 903, DockingPanesLock},      {904, 911, SystemPanelControl},
    {913, 999, SystemPanelControl},    {1001, 1189, NamedCommand},
    {1190, 1199, ApplyProfile},        {1200, 3182, NamedCommand},
    {3401, 3449, RegisteredBlock},     {6001, 6999, AutoMenuButton},
    {7000, 7199, ToolBarTab},          {7221, 7306, KernelCommand}, // pipes, communications, the log
    {8000, 8399, NamedCommand},        {9101, 9311, NamedCommand},
    {15000, 16999, AddOnCommand},      {17000, 32000, ApplicationCommand},
    {35000, 35003, SpecialCustomise},  {37000, 37999, UserCommand},
    {39200, 39201, KernelCommand}, // the graph scheme
    {57600, 57601, StandardCommand},   {57612, 57612, StandardCommand},
    {57649, 57649, StandardCommand},   {57664, 57665, StandardCommand},
    {57670, 57670, StandardCommand},   {65000, 65049, RegisteredBlock},
    {65250, 65254, GeometryReference},
};

} // namespace

std::span<const CommandIdRange> CommandIdRanges() {
    return kRanges;
}

const CommandIdRange* FindCommandIdRange(std::uint32_t id) {
    const auto it = std::upper_bound(
        std::begin(kRanges), std::end(kRanges), id,
        [](std::uint32_t value, const CommandIdRange& range) { return value < range.first; });
    if (it == std::begin(kRanges))
        return nullptr;
    const CommandIdRange& range = *(it - 1);
    return id <= range.last ? &range : nullptr;
}

} // namespace dvapp
