#include "app/PaneWindowSlots.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/Windows.h"
#include "DravikUI/XML.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "ribbon/FindCommandWnd.h"

#include <algorithm>
#include <cstdint>

namespace dvapp {

namespace {

// The windows of panes whose own window classes are not part of the program yet: an empty
// pane content.
class EmptyPaneWindow : public Dravik::UI::DockingPaneChildWindow, public ActiveDocumentFollower {
public:
    void SetActiveDocument(CDvw32Doc*, CDvw32Doc*) override {}
};

// The windows of panes that the program has: made here unless a factory gives another.
std::unique_ptr<CWnd> makeOwnWindow(int paneId) {
    if (paneId == 1004)
        return std::make_unique<DocumentsMenu::DocumentsMenuDlg>();
    if (paneId == 1028)
        return std::make_unique<CFindCommandWnd>();
    return std::make_unique<EmptyPaneWindow>();
}

constexpr DWORD kPaneWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

struct SlotRow {
    int paneId;
    const char* logName;
    const wchar_t* switchKey; // null: always on
    bool visible = true;
};

// Switchable windows first, in the configuration's order; then the others.
constexpr SlotRow kSlotRows[] = {
    {1032, "quality management", L"qualityControl"},
    {1003, "bird's eye view", L"birdsEyeView"},
    {1006, "model tree", L"modelTree"},
    {1021, "material", L"materials"},
    {1011, "weld tree", L"weldTree"},
    {1020, "product structure", L"productStructure"},
    {1022, "model elements", L"modelElements"},
    {1023, "assembly structure", L"assemblyStructure"},
    {1008, "task", L"tasks"},
    {1013, "Orsa desktop", L"orsaDesktop"},
    {1012, "Orsa archives", L"orsaArchives"},
    {1014, "Orsa favorites", L"orsaFavorites"},
    {1015, "Orsa search", L"orsaFind"},
    {1019, "Orsa assembly", L"orsaAssembly"},
    {1027, "Orsa mail", L"orsaMail"},
    {1033, "Orsa configuration settings", L"orsaConfigurationSettings"},
    {1040, "Orsa library elements", L"orsaLibraryElements"},
    {1004, "draw menu", L"libraries"},
    {1009, "NC", L"legacyCam"},
    {1025, "StructElems", L"structureElements"},
    {1034, "Cam", L"cam"},
    {1038, "Tech Requirements", L"techRequirements"},
    {1041, "FEA result parameters", L"feaResultParameters"},
    {1010, "macros", L"macros"},
    {1005, "error", nullptr},
    {1007, "properties", nullptr},
    {1017, "variables", nullptr},
    {1028, "find command", nullptr, false},
    {1029, "annotations", nullptr},
    {1030, "configurations", nullptr},
    {1031, "layers", nullptr},
    {1035, "form factor", nullptr},
    {1036, "background tasks", nullptr},
    {1039, "generation queue", nullptr},
};

} // namespace

struct PaneWindowSlots::Slot {
    const SlotRow* row;
    bool disabled = false;
    std::unique_ptr<CWnd> window;
};

PaneWindowSlots::PaneWindowSlots() {
    for (const SlotRow& row : kSlotRows)
        m_slots.push_back(Slot{&row, false, nullptr});
}

PaneWindowSlots::~PaneWindowSlots() {
    DestroyWindows();
}

PaneWindowSlots::Slot* PaneWindowSlots::find(int paneId) {
    const auto it = std::find_if(m_slots.begin(), m_slots.end(),
                                 [paneId](const Slot& slot) { return slot.row->paneId == paneId; });
    return it == m_slots.end() ? nullptr : &*it;
}

const PaneWindowSlots::Slot* PaneWindowSlots::find(int paneId) const {
    return const_cast<PaneWindowSlots*>(this)->find(paneId);
}

bool PaneWindowSlots::IsPaneWindowId(int paneId) {
    return std::any_of(std::begin(kSlotRows), std::end(kSlotRows),
                       [paneId](const SlotRow& row) { return row.paneId == paneId; });
}

CWnd* PaneWindowSlots::Get(int paneId, bool create) {
    Slot* slot = find(paneId);
    if (slot == nullptr || slot->disabled)
        return nullptr;
    if (!slot->window && create) {
        if (!m_parent)
            m_parent = Dravik::UI::GetDockingPaneDummyWindow(true);
        std::unique_ptr<CWnd> window = m_factory ? m_factory(paneId) : nullptr;
        if (!window)
            window = makeOwnWindow(paneId);
        const DWORD style = slot->row->visible ? kPaneWindowStyle : kPaneWindowStyle & ~WS_VISIBLE;
        if (m_parent == nullptr || !window->Create(nullptr, L"", style, CRect(0, 0, 0, 0), m_parent.get(),
                                                   static_cast<UINT>(paneId)))
            return nullptr;
        DVLog_Write(DVLogWindowCreated, "Created %s window 0x%08x", slot->row->logName,
                    static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(window->m_hWnd)));
        slot->window = std::move(window);
    }
    return slot->window.get();
}

bool PaneWindowSlots::SetEnabled(std::wstring_view key, bool enabled) {
    for (Slot& slot : m_slots)
        if (slot.row->switchKey != nullptr && key == slot.row->switchKey) {
            slot.disabled = !enabled;
            return true;
        }
    return false;
}

void PaneWindowSlots::Configure(const std::wstring* dockingPanes) {
    const auto setAll = [&](bool enabled) {
        for (Slot& slot : m_slots)
            if (slot.row->switchKey != nullptr)
                slot.disabled = !enabled;
    };
    if (dockingPanes == nullptr) {
        setAll(true);
        return;
    }
    setAll(false);
    bool first = true;
    Dravik::UI::XML::ParseValueSet(*dockingPanes, [&](std::wstring_view name, bool excluded) {
        if (first)
            setAll(excluded);
        first = false;
        if (!SetEnabled(name, !excluded))
            DVLog_Write(DVLogWarning,
                        "Invalid docking pane window \"%.*ls\" is specified in a configuration file",
                        static_cast<int>(name.size()), name.data());
    });
}

bool PaneWindowSlots::IsEnabled(int paneId) const {
    const Slot* slot = find(paneId);
    return slot != nullptr && !slot->disabled;
}

void PaneWindowSlots::DestroyWindows() {
    for (Slot& slot : m_slots) {
        if (slot.window && ::IsWindow(slot.window->m_hWnd))
            slot.window->DestroyWindow();
        slot.window.reset();
    }
    m_parent.reset();
}

} // namespace dvapp
