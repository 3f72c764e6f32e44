#include "frame/TabbedMainToolBarAdapter.h"

#include "xtp/CommandBars.h"

std::unique_ptr<CDVTabbedMainToolBar> CDVTabbedMainToolBar::Create(CXTPCommandBars* bars,
                                                                   const std::wstring& caption) {
    if (bars == nullptr)
        return nullptr;
    auto* bar =
        dynamic_cast<CDVTabToolBar*>(bars->Add(caption.c_str(), xtpBarTop, RUNTIME_CLASS(CDVTabToolBar)));
    if (bar == nullptr)
        return nullptr;
    return std::unique_ptr<CDVTabbedMainToolBar>(new CDVTabbedMainToolBar(bar));
}

void CDVTabbedMainToolBar::AddOriginalTab(const std::wstring& name, const UINT* ids, int count,
                                          const GUID& guid, bool visible, bool extra) {
    m_bar->AddOriginalTab(name.c_str(), ids, count, guid, visible, extra);
    m_bar->UpdateTabListPopups();
}

bool CDVTabbedMainToolBar::SetTabAccelerator(const GUID& guid, WORD key, BYTE modifiers) {
    CXTPTabManagerItem* tab = m_bar->FindTab(guid);
    if (tab == nullptr)
        return false;
    m_bar->SetAccel(tab, key, modifiers);
    m_bar->UpdateAccelerators();
    m_bar->UpdateTabListPopups();
    return true;
}
