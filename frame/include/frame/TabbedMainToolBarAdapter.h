// The frame tools engine's tabbed main tool bar as the frame's tabbed bar.
#pragma once

#include "frame/TabToolBar.h"
#include "ribbon/FrameToolsEngine.h"

#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

class CDVTabbedMainToolBar : public TabbedMainToolBar {
public:
    // Adds the bar to the command bars with the caption; null when the bars cannot make it.
    static std::unique_ptr<CDVTabbedMainToolBar> Create(CXTPCommandBars* bars, const std::wstring& caption);

    CXTPToolBar* GetToolBar() override { return m_bar; }
    CDVTabToolBar* GetTabToolBar() const { return m_bar; }
    void AddOriginalTab(const std::wstring& name, const UINT* ids, int count, const GUID& guid, bool visible,
                        bool extra) override;
    bool SetTabAccelerator(const GUID& guid, WORD key, BYTE modifiers) override;

private:
    explicit CDVTabbedMainToolBar(CDVTabToolBar* bar) : m_bar(bar) {}
    CDVTabToolBar* m_bar; // owned by the command bars
};

DV_EXPORTS_END
