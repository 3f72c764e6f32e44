// The layout of the tab groups between sessions, kept in the application's profile:
//   Groups      the number of groups
//   Horizontal  1 when the groups lie one above the other
//   GroupN      "<share>|<selected key>|<key>|<key>..." for group N (keys are document paths)
#include "xtp/TabClientWnd.h"

#include "pal/registry.h"

#include <algorithm>
#include <cwchar>

namespace {

std::vector<std::wstring> split(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find(L'|', start);
        parts.push_back(text.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos)
            return parts;
        start = bar + 1;
    }
}

CString groupEntry(int n) {
    CString entry;
    entry.Format(L"Group%d", n);
    return entry;
}

constexpr int kMostGroups = 64;

} // namespace

void CXTPTabClientWnd::SaveState() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    pal::reg::Batch batch;
    app->WriteProfileInt(m_strSection, L"Groups", GetWorkspaceCount());
    app->WriteProfileInt(m_strSection, L"Horizontal", m_bHorizSplitting ? 1 : 0);
    for (int i = 0; i < GetWorkspaceCount(); ++i) {
        CWorkspace* ws = GetWorkspace(i);
        CString value;
        value.Format(L"%.4f", ws->m_dSize);
        value += L"|";
        if (CXTPTabManagerItem* selected = ws->GetSelectedItem())
            value += GetItemKey(selected->GetHandle());
        for (int k = 0; k < ws->GetItemCount(); ++k) {
            if (!IsNewWindowTab(ws->GetItem(k)))
                value += L"|" + GetItemKey(ws->GetItem(k)->GetHandle());
        }
        app->WriteProfileString(m_strSection, groupEntry(i), value);
    }
}

void CXTPTabClientWnd::LoadState() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    const int groups = static_cast<int>(app->GetProfileInt(m_strSection, L"Groups", 0));
    if (groups <= 0 || groups > kMostGroups)
        return;
    m_pendingGroups.clear();
    m_placed.clear();
    m_savedOrder.clear();
    m_savedGroups.assign(static_cast<size_t>(groups), nullptr);
    m_savedSizes.assign(static_cast<size_t>(groups), 1.0);
    std::vector<std::wstring> selected(static_cast<size_t>(groups));
    for (int g = 0; g < groups; ++g) {
        const std::vector<std::wstring> parts =
            split(std::wstring(app->GetProfileString(m_strSection, groupEntry(g), L"")));
        if (parts.size() < 2)
            continue; // a group without its share and selection is skipped
        const double share = std::wcstod(parts[0].c_str(), nullptr);
        m_savedSizes[static_cast<size_t>(g)] = share > 0 && share < 1e6 ? share : 1.0;
        selected[static_cast<size_t>(g)] = parts[1];
        for (size_t k = 2; k < parts.size(); ++k) {
            // A document named twice stays in the first group that names it.
            if (!parts[k].empty() && m_pendingGroups.emplace(parts[k], g).second)
                m_savedOrder[parts[k]] = static_cast<int>(k);
        }
    }
    m_bHorizSplitting = app->GetProfileInt(m_strSection, L"Horizontal", 0) != 0;
    if (!m_hWnd)
        return;

    // The open documents are dealt out again; the groups whose documents are all missing are
    // never made.
    std::vector<std::unique_ptr<CXTPTabManagerItem>> pool;
    m_bUpdating = TRUE;
    for (const auto& ws : m_arrWorkspace) {
        while (ws->GetItemCount() > 0)
            pool.push_back(ws->DetachItem(ws->GetItem(0)));
    }
    m_arrWorkspace.clear();
    std::vector<std::unique_ptr<CXTPTabManagerItem>> unplaced;
    for (auto& item : pool) {
        if (IsNewWindowTab(item.get()))
            continue; // made again for the groups that are there at the end
        const auto pending = m_pendingGroups.find(std::wstring(GetItemKey(item->GetHandle())));
        CWorkspace* ws = pending == m_pendingGroups.end() ? nullptr : WorkspaceForSavedGroup(pending->second);
        if (ws)
            ws->AttachItem(ws->GetItemCount(), std::move(item));
        else
            unplaced.push_back(std::move(item));
    }
    if (!unplaced.empty() && m_arrWorkspace.empty())
        AddWorkspace(CreateWorkspace(), 0);
    for (auto& item : unplaced)
        m_arrWorkspace.front()->AttachItem(m_arrWorkspace.front()->GetItemCount(), std::move(item));
    for (int g = 0; g < groups; ++g) {
        CWorkspace* ws = m_savedGroups[static_cast<size_t>(g)];
        if (!ws)
            continue;
        SortBySavedOrder(ws);
        for (int k = 0; k < ws->GetItemCount(); ++k) {
            if (GetItemKey(ws->GetItem(k)->GetHandle()) == selected[static_cast<size_t>(g)].c_str())
                ws->CXTPTabManager::SetSelectedItem(ws->GetItem(k));
        }
    }
    m_bUpdating = FALSE;
    UpdateContents();
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::WorkspaceForSavedGroup(int nGroup) {
    if (nGroup < 0 || nGroup >= static_cast<int>(m_savedGroups.size()))
        return nullptr;
    if (CWorkspace* ws = m_savedGroups[static_cast<size_t>(nGroup)])
        return ws;
    // Made on first use, after the nearest stored group before it that exists.
    int at = 0;
    for (int g = nGroup - 1; g >= 0 && at == 0; --g) {
        CWorkspace* before = m_savedGroups[static_cast<size_t>(g)];
        for (int i = 0; i < GetWorkspaceCount(); ++i) {
            if (GetWorkspace(i) == before)
                at = i + 1;
        }
    }
    CWorkspace* made = CreateWorkspace();
    AddWorkspace(made, at);
    made->m_dSize = m_savedSizes[static_cast<size_t>(nGroup)];
    m_savedGroups[static_cast<size_t>(nGroup)] = made;
    return made;
}

void CXTPTabClientWnd::SortBySavedOrder(CWorkspace* pWorkspace) {
    auto rank = [&](CXTPTabManagerItem* item) {
        const auto it = m_savedOrder.find(std::wstring(GetItemKey(item->GetHandle())));
        return it == m_savedOrder.end() ? 1 << 30 : it->second;
    };
    // A stable insertion sort through MoveItem, so that tabs the state does not name keep their
    // order after the named ones.
    for (int i = 1; i < pWorkspace->GetItemCount(); ++i) {
        CXTPTabManagerItem* item = pWorkspace->GetItem(i);
        int j = i;
        while (j > 0 && rank(pWorkspace->GetItem(j - 1)) > rank(item))
            --j;
        if (j != i)
            pWorkspace->MoveItem(item, j);
    }
}
