#include "xtp/ImageManager.h"

#include "IconPixels.h"
#include "pal/gdi.h"
#include "pal/notice.h"
#include "pal/path.h"
#include "pal/text.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

using dv::toolkit::greyed;
using dv::toolkit::iconFromPixels;
using dv::toolkit::iconPixels;

namespace {

bool validState(XTPImageState state) {
    return state >= xtpImageNormal && state <= xtpImagePressed;
}

std::string narrow(LPCWSTR s) {
    return s != nullptr ? pal::text::toUtf8(s) : std::string();
}

// The sizes an .ico file's directory lists; empty when the file is not an icon file.
std::vector<CSize> icoSizes(LPCWSTR file) {
    std::ifstream in(pal::path::toNative(file), std::ios::binary);
    unsigned char head[6] = {};
    if (!in.read(reinterpret_cast<char*>(head), 6) || head[0] != 0 || head[1] != 0 || head[2] != 1 ||
        head[3] != 0)
        return {};
    const int count = head[4] | (head[5] << 8);
    std::vector<CSize> sizes;
    for (int i = 0; i < count; ++i) {
        unsigned char entry[16] = {};
        if (!in.read(reinterpret_cast<char*>(entry), 16))
            return {};
        const CSize size(entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256);
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    }
    return sizes;
}

bool endsWithNoCase(const std::wstring& s, const wchar_t* tail) {
    const std::wstring t = tail;
    return s.size() >= t.size() && pal::text::equalsNoCase(s.substr(s.size() - t.size()), t);
}

} // namespace

// CXTPImageManagerIcon ------------------------------------------------------------------------

CXTPImageManagerIcon::CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight)
    : id_(nID), width_(nWidth), height_(nHeight) {}

CXTPImageManagerIcon::~CXTPImageManagerIcon() {
    for (HICON& icon : states_) {
        if (icon != nullptr)
            ::DestroyIcon(icon);
    }
    if (derivedDisabled_ != nullptr)
        ::DestroyIcon(derivedDisabled_);
    for (auto& [size, icon] : rendered_)
        ::DestroyIcon(icon);
}

void CXTPImageManagerIcon::SetIcon(HICON hIcon, XTPImageState state) {
    if (!validState(state))
        return;
    HICON& slot = states_[state];
    if (slot != nullptr)
        ::DestroyIcon(slot);
    slot = nullptr;
    if (hIcon != nullptr) {
        // Kept at the icon's size, whatever size the handle had.
        const pal::gdi::Surface pixels = iconPixels(hIcon);
        slot = pixels && (pixels.width() != width_ || pixels.height() != height_)
                   ? iconFromPixels(dv::toolkit::scaled(pixels, width_, height_))
                   : ::CopyIcon(hIcon);
    }
    if (derivedDisabled_ != nullptr) {
        ::DestroyIcon(derivedDisabled_);
        derivedDisabled_ = nullptr;
    }
}

void CXTPImageManagerIcon::SetVectorIcon(const CXTPImageManagerVectorImageHandle& handle) {
    vector_ = handle;
    for (auto& [size, icon] : rendered_)
        ::DestroyIcon(icon);
    rendered_.clear();
}

BOOL CXTPImageManagerIcon::HasState(XTPImageState state) const {
    return validState(state) && (states_[state] != nullptr || (state == xtpImageNormal && IsVectorIcon()));
}

HICON CXTPImageManagerIcon::imageAt(XTPImageState state, int cx, int cy) const {
    if (!validState(state))
        state = xtpImageNormal;
    if (states_[state] != nullptr && cx == width_ && cy == height_)
        return states_[state];
    HICON normal = nullptr;
    if (IsVectorIcon()) {
        auto& cached = rendered_[{cx, cy}];
        if (cached == nullptr)
            cached = vector_.Render(cx, cy);
        normal = cached;
    } else {
        normal = states_[xtpImageNormal];
    }
    if (state == xtpImageDisabled && normal != nullptr) {
        if (IsVectorIcon() || cx != width_ || cy != height_)
            return normal; // faded at draw time by the caller's state below
        if (derivedDisabled_ == nullptr)
            derivedDisabled_ = iconFromPixels(greyed(iconPixels(normal)));
        return derivedDisabled_;
    }
    return normal;
}

HICON CXTPImageManagerIcon::GetIcon(XTPImageState state) const {
    return imageAt(state, width_, height_);
}

void CXTPImageManagerIcon::Draw(CDC* pDC, CPoint pt, CSize sz, XTPImageState state) const {
    if (pDC == nullptr)
        return;
    const int cx = sz.cx > 0 ? sz.cx : width_, cy = sz.cy > 0 ? sz.cy : height_;
    HICON icon = imageAt(state, cx, cy);
    if (icon == nullptr)
        return;
    if (state == xtpImageDisabled && states_[xtpImageDisabled] == nullptr && icon != derivedDisabled_) {
        HICON faded = iconFromPixels(greyed(dv::toolkit::scaled(iconPixels(icon), cx, cy)));
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, faded, cx, cy, 0, nullptr, DI_NORMAL);
        ::DestroyIcon(faded);
        return;
    }
    ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, icon, cx, cy, 0, nullptr, DI_NORMAL);
}

// CXTPImageManagerIconSet ---------------------------------------------------------------------

CXTPImageManagerIcon* CXTPImageManagerIconSet::GetIcon(int nWidth) const {
    const auto it = icons_.find(nWidth);
    return it != icons_.end() ? it->second.get() : nullptr;
}

CXTPImageManagerIcon* CXTPImageManagerIconSet::GetOrCreate(int nWidth, int nHeight) {
    auto& slot = icons_[nWidth];
    if (!slot)
        slot = std::make_unique<CXTPImageManagerIcon>(id_, nWidth, nHeight);
    return slot.get();
}

// CXTPImageManager ----------------------------------------------------------------------------

CXTPImageManager::CXTPImageManager() = default;
CXTPImageManager::~CXTPImageManager() = default;

CXTPImageManagerIconSet* CXTPImageManager::setFor(UINT id) {
    auto& slot = sets_[id];
    if (!slot)
        slot = std::make_unique<CXTPImageManagerIconSet>(id);
    return slot.get();
}

BOOL CXTPImageManager::SetIcon(HICON hIcon, UINT nIDCommand, CSize szIcon, XTPImageState imageState) {
    if (hIcon == nullptr || !validState(imageState))
        return FALSE;
    if (szIcon.cx <= 0 || szIcon.cy <= 0) {
        const pal::gdi::Surface pixels = iconPixels(hIcon);
        if (!pixels)
            return FALSE;
        szIcon = CSize(pixels.width(), pixels.height());
    }
    CXTPImageManagerIconSet* set = setFor(nIDCommand);
    CXTPImageManagerIcon* icon = set->GetOrCreate(szIcon.cx, szIcon.cy);
    // A raster image given for the size replaces a vector one there.
    if (icon->IsVectorIcon())
        icon->SetVectorIcon({});
    icon->SetIcon(hIcon, imageState);
    return TRUE;
}

BOOL CXTPImageManager::SetIcons(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                                XTPImageState imageState) {
    const pal::gdi::Surface strip = pal::gdi::surfaceOf(hBitmap);
    if (!strip || pCommands == nullptr || nCount <= 0 || szIcon.cx <= 0 || szIcon.cy <= 0 ||
        strip.height() < szIcon.cy || !validState(imageState))
        return FALSE;
    const int fit = strip.width() / szIcon.cx;
    if (fit <= 0)
        return FALSE;
    // A strip without alpha marks its background with magenta.
    const bool alpha = strip.hasAlpha();
    BOOL all = TRUE;
    for (int i = 0; i < nCount; ++i) {
        if (pCommands[i] == 0)
            continue;
        if (i >= fit) {
            all = FALSE;
            break;
        }
        pal::gdi::Surface square = pal::gdi::Surface::create(szIcon.cx, szIcon.cy, true);
        if (!square)
            return FALSE;
        cairo_t* cr = cairo_create(square.get());
        cairo_set_source_surface(cr, strip.get(), -i * szIcon.cx, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        if (!alpha) {
            cairo_surface_flush(square.get());
            unsigned char* data = cairo_image_surface_get_data(square.get());
            const int stride = cairo_image_surface_get_stride(square.get());
            for (int y = 0; y < szIcon.cy; ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<size_t>(y) * stride);
                for (int x = 0; x < szIcon.cx; ++x)
                    row[x] = (row[x] & 0xFFFFFF) == 0xFF00FF ? 0 : row[x] | 0xFF000000u;
            }
            cairo_surface_mark_dirty(square.get());
        }
        HICON icon = iconFromPixels(square);
        all = SetIcon(icon, pCommands[i], szIcon, imageState) && all;
        ::DestroyIcon(icon);
    }
    return all;
}

BOOL CXTPImageManager::SetIcons(CImageList& imageList, const UINT* pCommands, int nCount, CSize szIcon,
                                XTPImageState imageState) {
    if (imageList.GetSafeHandle() == nullptr || pCommands == nullptr || nCount <= 0)
        return FALSE;
    const int images = imageList.GetImageCount();
    BOOL all = TRUE;
    for (int i = 0; i < nCount; ++i) {
        if (pCommands[i] == 0)
            continue;
        if (i >= images) {
            all = FALSE;
            break;
        }
        HICON icon = imageList.ExtractIcon(i);
        all = SetIcon(icon, pCommands[i], szIcon, imageState) && all;
        if (icon != nullptr)
            ::DestroyIcon(icon);
    }
    return all;
}

BOOL CXTPImageManager::SetIconFromIcoFile(LPCWSTR lpszFileName, UINT nIDCommand, CSize szIcon,
                                          XTPImageState imageState) {
    if (lpszFileName == nullptr || !validState(imageState))
        return FALSE;
    std::vector<CSize> sizes =
        szIcon.cx > 0 && szIcon.cy > 0 ? std::vector<CSize>{szIcon} : icoSizes(lpszFileName);
    // Every image is read before any is taken, so a damaged file changes nothing.
    std::vector<std::pair<CSize, HICON>> loaded;
    bool bad = sizes.empty();
    for (const CSize& size : sizes) {
        HICON icon = static_cast<HICON>(
            ::LoadImageW(nullptr, lpszFileName, IMAGE_ICON, size.cx, size.cy, LR_LOADFROMFILE));
        if (icon == nullptr) {
            bad = true;
            break;
        }
        loaded.emplace_back(size, icon);
    }
    if (!bad) {
        for (const auto& [size, icon] : loaded)
            SetIcon(icon, nIDCommand, size, imageState);
    } else {
        pal::notice::say("image manager: no icon in " + narrow(lpszFileName));
    }
    for (const auto& [size, icon] : loaded)
        ::DestroyIcon(icon);
    return !bad;
}

BOOL CXTPImageManager::SetIconFromResource(HINSTANCE hInst, LPCWSTR lpszResource, UINT nIDCommand,
                                           CSize szIcon, XTPImageState imageState) {
    if (!validState(imageState))
        return FALSE;
    if (szIcon.cx > 0 && szIcon.cy > 0) {
        HICON icon =
            static_cast<HICON>(::LoadImageW(hInst, lpszResource, IMAGE_ICON, szIcon.cx, szIcon.cy, 0));
        if (icon == nullptr)
            return FALSE;
        const BOOL done = SetIcon(icon, nIDCommand, szIcon, imageState);
        ::DestroyIcon(icon);
        return done;
    }
    // No size asked: every size of the icon group, each from its own picture.
    HICON group = static_cast<HICON>(::LoadImageW(hInst, lpszResource, IMAGE_ICON, 0, 0, 0));
    if (group == nullptr)
        return FALSE;
    BOOL all = TRUE;
    for (const SIZE& size : pal::gdi::iconSizes(group)) {
        HICON icon =
            static_cast<HICON>(::CopyImage(group, IMAGE_ICON, size.cx, size.cy, LR_COPYFROMRESOURCE));
        all = icon != nullptr && SetIcon(icon, nIDCommand, CSize(size), imageState) && all;
        if (icon != nullptr)
            ::DestroyIcon(icon);
    }
    ::DestroyIcon(group);
    return all;
}

BOOL CXTPImageManager::SetVectorIcon(const CXTPImageManagerVectorImageHandle& handle, UINT nIDCommand) {
    if (!handle.IsValid())
        return FALSE;
    RemoveIcon(nIDCommand);
    const CSize own = handle.GetSize();
    setFor(nIDCommand)->GetOrCreate(own.cx, own.cy)->SetVectorIcon(handle);
    return TRUE;
}

UINT CXTPImageManager::AddCustomIconFromFile(LPCWSTR lpszFileName, int nWidth) {
    if (lpszFileName == nullptr)
        return 0;
    const std::wstring file = lpszFileName;
    const UINT id = nextCustomId_;
    BOOL added = FALSE;
    if (endsWithNoCase(file, L".svg")) {
        added = SetVectorIcon(CXTPImageManagerVectorImageHandle::CreateSvgHandle(lpszFileName), id);
    } else if (endsWithNoCase(file, L".ico")) {
        added = SetIconFromIcoFile(lpszFileName, id);
    } else {
        const int side = nWidth > 0 ? nWidth : 16;
        HICON icon =
            static_cast<HICON>(::LoadImageW(nullptr, lpszFileName, IMAGE_ICON, side, side, LR_LOADFROMFILE));
        if (icon == nullptr)
            pal::notice::say("image manager: no icon in " + narrow(lpszFileName));
        added = SetIcon(icon, id, CSize(side, side));
        if (icon != nullptr)
            ::DestroyIcon(icon);
    }
    if (!added)
        return 0;
    ++nextCustomId_;
    return id;
}

CXTPImageManagerIconSet* CXTPImageManager::GetIconSet(UINT nCommand) const {
    const auto it = sets_.find(nCommand);
    return it != sets_.end() && !it->second->IsEmpty() ? it->second.get() : nullptr;
}

CXTPImageManagerIcon* CXTPImageManager::Lookup(UINT nCommand, int nWidth) const {
    const CXTPImageManagerIconSet* set = GetIconSet(nCommand);
    if (set == nullptr)
        return nullptr;
    if (nWidth <= 0)
        return set->GetIcons().begin()->second.get();
    return set->GetIcon(nWidth);
}

CXTPImageManagerIcon* CXTPImageManager::GetImage(UINT nCommand, int nWidth) const {
    const CXTPImageManagerIconSet* set = GetIconSet(nCommand);
    if (set == nullptr)
        return nullptr;
    const auto& icons = set->GetIcons();
    if (nWidth <= 0)
        return icons.begin()->second.get();
    if (CXTPImageManagerIcon* exact = set->GetIcon(nWidth))
        return exact;
    for (const auto& [width, icon] : icons) {
        if (icon->IsVectorIcon())
            return icon.get();
    }
    const auto larger = icons.lower_bound(nWidth);
    return larger != icons.end() ? larger->second.get() : icons.rbegin()->second.get();
}

BOOL CXTPImageManager::IsVectorIcon(UINT nCommand) const {
    const CXTPImageManagerIconSet* set = GetIconSet(nCommand);
    if (set == nullptr)
        return FALSE;
    return std::any_of(set->GetIcons().begin(), set->GetIcons().end(),
                       [](const auto& entry) { return entry.second->IsVectorIcon() != FALSE; });
}

void CXTPImageManager::RemoveIcon(UINT nIDCommand) {
    sets_.erase(nIDCommand);
}

void CXTPImageManager::RemoveAll() {
    sets_.clear();
}

std::vector<UINT> CXTPImageManager::GetCommands() const {
    std::vector<UINT> ids;
    for (const auto& [id, set] : sets_) {
        if (!set->IsEmpty())
            ids.push_back(id);
    }
    return ids;
}

HBITMAP CXTPImageManager::Create32BPPDIBSection(HDC hDC, int iWidth, int iHeight, LPBYTE* lpBits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = iWidth;
    bi.bmiHeader.biHeight = iHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biSizeImage = static_cast<DWORD>(iWidth) * static_cast<DWORD>(iHeight) * 4;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(hDC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (lpBits != nullptr)
        *lpBits = bitmap != nullptr ? static_cast<LPBYTE>(bits) : nullptr;
    return bitmap;
}

CXTPImageManager* XTPImageManager() {
    static CXTPImageManager shared;
    return &shared;
}
