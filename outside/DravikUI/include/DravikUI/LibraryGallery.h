// The gallery of library documents a ribbon or tool bar shows, as wide as a person set it in item
// columns or as wide as its items ask.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ControlGallery.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class LibraryGallery : public CXTPControlGallery {
    DECLARE_DYNCREATE(LibraryGallery)
public:
    static constexpr int kAutomatic = -1;

    // Columns set by a person, or kAutomatic.
    int GetWidth() const { return m_columns; }
    // 0 or less means automatic. The bar that holds the gallery is laid out again, now or at its
    // next layout.
    void SetWidth(int columns, bool applyNow);
    // The item columns the gallery shows now; 0 without items.
    int GetColumnCount() const;

    CSize GetSize(CDC* pDC) override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

private:
    int m_columns = kAutomatic;
};

} // namespace Dravik::UI

DV_EXPORTS_END
