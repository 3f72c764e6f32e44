// The entries of the live ribbon's right-click menus. Each acts on its target itself when
// chosen, without the frame's command routing, and keeps its target alive while it exists.
#pragma once

#include "XTToolkitPro.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {
class LibraryGallery;
class RibbonGroup;
} // namespace Dravik::UI

// The control styles a person may give a control, in menu order, with their caption keys.
struct RibbonControlStyle {
    const wchar_t* key;
    XTPButtonStyle style;
};
inline constexpr RibbonControlStyle kRibbonControlStyles[] = {
    {L"panels.ribbon.control_style.automatic", xtpButtonAutomatic},
    {L"panels.ribbon.control_style.icon_and_caption_below", xtpButtonIconAndCaptionBelow},
    {L"panels.ribbon.control_style.icon_and_caption", xtpButtonIconAndCaption},
    {L"panels.ribbon.control_style.icon", xtpButtonIcon},
    {L"panels.ribbon.control_style.caption", xtpButtonCaption},
};

// An entry that acts on a control; the control stays alive while the entry does.
class RibbonControlEntry : public CXTPControlButton {
public:
    RibbonControlEntry(CXTPControl* target, const wchar_t* key);
    ~RibbonControlEntry() override;
    CXTPControl* GetTarget() const { return m_target; }

protected:
    CXTPControl* m_target;
};

class ControlStyleButton : public RibbonControlEntry {
public:
    ControlStyleButton(CXTPControl* target, const RibbonControlStyle& style);
    XTPButtonStyle GetValue() const { return m_value; }
    void OnExecute() override;

private:
    XTPButtonStyle m_value;
};

// Lets a library gallery take the width its items ask for.
class LibraryGalleryAutoWidthButton : public RibbonControlEntry {
public:
    explicit LibraryGalleryAutoWidthButton(Dravik::UI::LibraryGallery* gallery);
    void OnExecute() override;
};

// The width of a library gallery in item columns: typed and confirmed, or stepped with its spin
// buttons, never below one column.
class LibraryGalleryWidthEditBox : public CXTPControlEdit {
public:
    explicit LibraryGalleryWidthEditBox(Dravik::UI::LibraryGallery* gallery);
    ~LibraryGalleryWidthEditBox() override;
    int GetValue() const { return m_value; }
    // Checked while the gallery has a width of its own; the value then shows its columns again.
    void SetWidthChecked(bool checked);
    // One step up (1) or down (-1), applied at once.
    void Spin(int direction, int step = 1);
    void OnExecute() override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void Draw(CDC* pDC) override;
    CRect GetEditRect() const override;
    // The up and down buttons at the right end of the field.
    CRect GetSpinRect() const;

private:
    void ShowValue();
    Dravik::UI::LibraryGallery* m_gallery;
    int m_value;
};

class CustomizeButton : public CXTPControlButton {
public:
    // 1 a tab, 2 a group, 3 a control.
    CustomizeButton(CXTPRibbonBar* ribbon, int kind, void* item, bool flag);
    int GetKind() const { return m_kind; }
    void OnExecute() override;

private:
    CXTPRibbonBar* m_ribbon;
    int m_kind;
    void* m_item;
    bool m_flag;
};

class HideControlButton : public RibbonControlEntry {
public:
    explicit HideControlButton(CXTPControl* target);
    void OnExecute() override;
};

class RemoveControlButton : public RibbonControlEntry {
public:
    explicit RemoveControlButton(CXTPControl* target);
    void OnExecute() override;
};

class AddControlToQuickAccessButton : public RibbonControlEntry {
public:
    AddControlToQuickAccessButton(CXTPControl* target, CXTPRibbonBar* ribbon);
    void OnExecute() override;

private:
    CXTPRibbonBar* m_ribbon;
};

class AddControlToToolBarButton : public RibbonControlEntry {
public:
    AddControlToToolBarButton(CXTPControl* target, CXTPToolBar* bar);
    CXTPToolBar* GetToolBar() const { return m_bar; }
    void OnExecute() override;

private:
    CXTPToolBar* m_bar;
};

class RibbonGroupButton : public CXTPControlButton {
public:
    explicit RibbonGroupButton(Dravik::UI::RibbonGroup* group);
    void OnExecute() override;

private:
    Dravik::UI::RibbonGroup* m_group;
};

class ResetGroupButton : public CXTPControlButton {
public:
    ResetGroupButton(CXTPRibbonBar* ribbon, CXTPRibbonGroup* group);
    void OnExecute() override;

private:
    CXTPRibbonBar* m_ribbon;
    CXTPRibbonGroup* m_group;
};

class ResetTabButton : public CXTPControlButton {
public:
    ResetTabButton(CXTPRibbonBar* ribbon, CXTPRibbonTab* tab);
    void OnExecute() override;

private:
    CXTPRibbonBar* m_ribbon;
    CXTPRibbonTab* m_tab;
};

DV_EXPORTS_END
