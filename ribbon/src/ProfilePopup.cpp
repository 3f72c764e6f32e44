#include "ribbon/ProfilePopup.h"

#include "ribbon/RibbonControls.h"

#include "DVGC/ColorTable.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/View.h"

#include <cstdint>
#include <vector>

CDVView* ActiveDrawingViewOf(CXTPControl* control) {
    CXTPCommandBars* bars = control != nullptr ? control->GetCommandBars() : nullptr;
    if (bars == nullptr || bars->GetSite() == nullptr)
        return DVGetActiveView();
    auto* frame = dynamic_cast<CFrameWnd*>(bars->GetSite());
    CFrameWnd* active = frame != nullptr ? frame->GetActiveFrame() : nullptr;
    return active != nullptr ? dynamic_cast<CDVView*>(active->GetActiveView()) : nullptr;
}

// ---- the popup ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(ProfilePopup, CXTPControlPopup)

ProfilePopup::ProfilePopup(CXTPCommandBars* bars) {
    m_emptyLabel = new CXTPControlLabel;
    m_emptyLabel->SetCaption(Dravik::I18n::Translate(L"profile_popup.empty").c_str());
    if (bars != nullptr) {
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(bars);
        SetCommandBar(bar);
        bar->InternalRelease();
    }
    SetFlags(GetFlags() | xtpFlagManualUpdate);
}

ProfilePopup::~ProfilePopup() {
    m_emptyLabel->InternalRelease();
}

BOOL ProfilePopup::OnSetPopup(BOOL bPopup) {
    if (bPopup && GetCommandBar() != nullptr) {
        if (CXTPCommandBars* bars = GetCommandBars(); bars != nullptr && bars->IsCustomizeMode())
            return TRUE;
        Rebuild();
    }
    return CXTPControlPopup::OnSetPopup(bPopup);
}

void ProfilePopup::Rebuild() {
    CXTPControls* entries = GetCommandBar()->GetControls();
    entries->RemoveAll();
    CDVView* view = ActiveDrawingViewOf(this);
    CDVCom_Is3D* module = CDVCom_Is3D::Instance();
    if (view != nullptr && module != nullptr && view->HasProfiles()) {
        std::vector<std::shared_ptr<const CDVProfile>> profiles;
        std::vector<std::int32_t> colors;
        module->GetProfiles(view->GetProfileObject(), view->GetProfileNumber(), profiles, colors);
        // A module may answer fewer colours than profiles: those profiles are listed without a
        // swatch rather than losing the whole list.
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            if (profiles[i] == nullptr)
                continue;
            const int color = i < colors.size() ? colors[i] : -1;
            auto* button = new ProfileButton(profiles[i]->GetName().c_str(), color);
            entries->Add(button);
            MarkTransient(button);
        }
    }
    if (entries->GetCount() == 0) {
        m_emptyLabel->InternalAddRef();
        entries->Add(m_emptyLabel);
    }
}

CXTPControl* ProfilePopup::Clone(BOOL bRecursive) {
    auto* copy = new ProfilePopup;
    copy->CXTPControl::Copy(this, bRecursive);
    return copy;
}

// ---- a profile's entry -------------------------------------------------------------------------

ProfileButton::ProfileButton(const CString& name, int colorIndex) : m_colorIndex(colorIndex) {
    SetCaption(name);
    if (colorIndex != -1)
        SetIconId(kProfileSwatchIconId);
}

ProfileButton::~ProfileButton() = default;

CXTPImageManagerIcon* ProfileButton::GetImage(int size) {
    if (m_colorIndex == -1 || size <= 0)
        return nullptr;
    if (const auto it = m_icons.find(size); it != m_icons.end())
        return it->second.get();
    LPBYTE bits = nullptr;
    HBITMAP colour = CXTPImageManager::Create32BPPDIBSection(nullptr, size, size, &bits);
    if (colour == nullptr || bits == nullptr) {
        if (colour != nullptr)
            ::DeleteObject(colour);
        return nullptr;
    }
    const COLORREF rgb = GetColorTable()->GetColor(static_cast<std::uint32_t>(m_colorIndex));
    const std::uint32_t inner = 0xFF000000u | ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
    auto* pixels = reinterpret_cast<std::uint32_t*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool ring = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                   static_cast<std::size_t>(x)] = ring ? 0xFF000000u : inner;
        }
    const std::vector<BYTE> ones(
        static_cast<std::size_t>((size + 15) / 16 * 2) * static_cast<std::size_t>(size), 0xFF);
    HBITMAP mask = ::CreateBitmap(size, size, 1, 1, ones.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON handle = ::CreateIconIndirect(&info);
    ::DeleteObject(colour);
    ::DeleteObject(mask);
    if (handle == nullptr)
        return nullptr;
    auto icon = std::make_unique<CXTPImageManagerIcon>(static_cast<UINT>(kProfileSwatchIconId), size, size);
    icon->SetIcon(handle, xtpImageNormal);
    ::DestroyIcon(handle);
    return (m_icons[size] = std::move(icon)).get();
}

void ProfileButton::OnExecute() {
    // The execution may rebuild the popup and this button with it: what the module needs is
    // taken first.
    CDVView* view = ActiveDrawingViewOf(this);
    const std::wstring name(GetCaption().GetString());
    CXTPControlButton::OnExecute();
    if (CDVCom_Is3D* module = CDVCom_Is3D::Instance(); view != nullptr && module != nullptr)
        module->ApplyProfile(view->GetProfileObject(), name);
}
