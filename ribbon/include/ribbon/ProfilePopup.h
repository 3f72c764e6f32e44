// The popup of the main frame's command 1118: the profiles the 3D module offers for the active
// view, each with a swatch of its colour; choosing one hands its name back to the module.
#pragma once

#include "XTToolkitPro.h"
#include "pal/visibility.h"

#include <map>
#include <memory>

DV_EXPORTS_BEGIN

class CDVView;

class ProfilePopup : public CXTPControlPopup {
    DECLARE_DYNCREATE(ProfilePopup)
public:
    // Without command bars (a clone, or made from the run-time class) it has no popup bar and
    // opens nothing.
    explicit ProfilePopup(CXTPCommandBars* bars = nullptr);
    ~ProfilePopup() override;
    // Rebuilds the list from the active view each time it opens; leaves it alone while the bars
    // are customised.
    BOOL OnSetPopup(BOOL bPopup) override;
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;

    // The label shown when there is nothing to list.
    CXTPControlLabel* GetEmptyLabel() const { return m_emptyLabel; }

private:
    void Rebuild();
    CXTPControlLabel* m_emptyLabel = nullptr;
};

// The placeholder icon id of a profile button with a colour: the tool kit asks the button for
// its own picture.
inline constexpr int kProfileSwatchIconId = 2147483647;

// A profile's entry of the popup: its caption is the profile's name.
class ProfileButton : public CXTPControlButton {
public:
    ProfileButton(const CString& name, int colorIndex);
    ~ProfileButton() override;
    int GetColorIndex() const { return m_colorIndex; }
    // The swatch at a size: a black one-pixel ring around the profile's colour; made once per
    // size. None for a profile without a colour.
    CXTPImageManagerIcon* GetImage(int nWidth) override;
    // Hands the profile's name to the 3D module for the active view.
    void OnExecute() override;

private:
    int m_colorIndex;
    std::map<int, std::unique_ptr<CXTPImageManagerIcon>> m_icons;
};

// The drawing view that the controls of a command bar act on: the active view of the frame
// that holds the bars when it is a drawing view; without bars, the kernel's active view.
CDVView* ActiveDrawingViewOf(CXTPControl* control);

DV_EXPORTS_END
