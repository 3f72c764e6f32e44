// A tool bar an add-on made: known by the add-on's key and the bar's name, with the visibility
// the saved layout kept for it.
#pragma once

#include "pal/visibility.h"
#include "xtp/ToolBar.h"

#include <optional>
#include <string>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPImageManager;

class CDVAppCustomToolBar : public CXTPToolBar {
public:
    // The ids add-ons' bars take, smallest free first.
    static constexpr UINT kFirstBarId = 21000;
    static constexpr UINT kLastBarId = 30999;

    const std::wstring& GetAppKey() const { return m_appKey; }
    const std::wstring& GetToolbarName() const { return m_toolbarName; }
    void SetIdentity(std::wstring key, std::wstring name) {
        m_appKey = std::move(key);
        m_toolbarName = std::move(name);
    }
    const std::optional<bool>& GetStoredVisibility() const { return m_storedVisibility; }
    void SetStoredVisibility(std::optional<bool> visible) { m_storedVisibility = visible; }
    bool IsInitialized() const { return m_initialized; }
    void SetInitialized(bool initialized) { m_initialized = initialized; }

    // The bar with the key and name (case counts), searched from the last bar; null when none.
    static CDVAppCustomToolBar* Find(const CXTPCommandBars& bars, const std::wstring& key,
                                     const std::wstring& name);
    // The smallest id of the range no add-on bar of these bars uses; 0 when all are used.
    static UINT FreeBarId(const CXTPCommandBars& bars);

private:
    std::wstring m_appKey;
    std::wstring m_toolbarName;
    std::optional<bool> m_storedVisibility;
    bool m_initialized = false;
};

// Icons of 16 by 16 pixels cut from a strip for the ids; from the hot strip, as many icons of
// its own width share. A strip under 16 pixels wide holds no icon and is refused before
// anything is cut. False when a strip is missing or a cut fails.
bool CutToolbarIcons(CXTPImageManager& images, HBITMAP bitmap, HBITMAP hotBitmap, const UINT* ids, int count);

DV_EXPORTS_END
