// Placeholders of the display settings that the application's display code owns: start-up
// applies the saved ribbon mode and icon size through them. They do the least: store the values
// and hand the icon size to every main frame's command bars.
#include "app/Dvw32App.h"

#include "xtp/PaintManager.h"

void CDvw32App::SetRibbonMode(bool ribbon) {
    m_ribbonMode = ribbon;
}

void CDvw32App::SetToolBarIconSize(CSize size) {
    if (size.cx < 1 || size.cy < 1)
        return;
    m_toolBarIconSize = size;
    m_toolBarIconSizeScaled = CXTPDpi::ScaleIcon(size);
    const bool large = size.cx > 16 || size.cy > 16;
    ForEachMainFrame([&](CMainFrame* frame) {
        UIModuleProxy::Instance().SetCommandBarsIconSizes(frame->GetCommandBars(), CSize(16, 16), size,
                                                          CSize(16, 16), large);
        frame->ApplyCommandBarOptions(true);
    });
}
