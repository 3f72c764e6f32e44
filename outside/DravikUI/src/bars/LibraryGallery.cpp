#include "DravikUI/LibraryGallery.h"

#include "xtp/CommandBar.h"

namespace Dravik::UI {

IMPLEMENT_DYNCREATE(LibraryGallery, CXTPControlGallery)

void LibraryGallery::SetWidth(int columns, bool applyNow) {
    m_columns = columns > 0 ? columns : kAutomatic;
    CXTPCommandBar* bar = GetParent();
    if (bar == nullptr)
        return;
    if (applyNow && bar->GetSafeHwnd() != nullptr)
        bar->OnRecalcLayout();
    else
        bar->DelayLayout();
}

int LibraryGallery::GetColumnCount() const {
    const int itemWidth = m_pItems != nullptr ? m_pItems->GetItemSize().cx : 0;
    if (GetItemCount() == 0 || itemWidth <= 0)
        return 0;
    return GetItemsRect().Width() / itemWidth;
}

CSize LibraryGallery::GetSize(CDC* pDC) {
    CSize size = CXTPControlGallery::GetSize(pDC);
    if (m_columns > 0 && m_pItems != nullptr)
        size.cx = m_columns * m_pItems->GetItemSize().cx + 4; // the items and their frame
    return size;
}

void LibraryGallery::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControlGallery::Copy(pControl, bRecursive);
    if (const auto* other = dynamic_cast<const LibraryGallery*>(pControl))
        m_columns = other->m_columns;
}

} // namespace Dravik::UI
