// The icons of commands: for each command id a set of icons, one per size, each with images
// for its states. Icons come from icon handles, bitmaps cut into squares, image lists, .ico
// files and SVG documents; an SVG icon has every size and is drawn afresh at each one.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <map>
#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPPropExchange;

enum XTPImageState {
    xtpImageNormal = 0,
    xtpImageDisabled = 1,
    xtpImageHot = 2,
    xtpImageChecked = 3,
    xtpImagePressed = 4,
};

// A parsed SVG document, shared between the icons that show it. An invalid handle is what a
// document that does not parse gives.
class CXTPImageManagerVectorImageHandle {
public:
    CXTPImageManagerVectorImageHandle() = default;

    // From the bytes of an SVG document; invalid (and one log line) when they are not one.
    static CXTPImageManagerVectorImageHandle CreateSvgHandle(const void* pData, size_t nSize);
    // From an SVG file.
    static CXTPImageManagerVectorImageHandle CreateSvgHandle(LPCWSTR lpszFile);

    BOOL IsValid() const { return doc_ != nullptr; }
    explicit operator bool() const { return IsValid(); }
    // The document's own size in pixels (its view box when it gives no size).
    CSize GetSize() const;
    // The document drawn to fill cx by cy pixels, as an icon the caller destroys; null when
    // invalid or the size is absurd.
    HICON Render(int cx, int cy) const;
    // The document's bytes, for saving it.
    const std::vector<BYTE>& GetData() const;

    struct Document;

private:
    std::shared_ptr<const Document> doc_;
};

// One icon of a set: an image for each state at one size, or an SVG document.
class CXTPImageManagerIcon {
public:
    CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight);
    ~CXTPImageManagerIcon();
    CXTPImageManagerIcon(const CXTPImageManagerIcon&) = delete;
    CXTPImageManagerIcon& operator=(const CXTPImageManagerIcon&) = delete;

    UINT GetID() const { return id_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    BOOL IsVectorIcon() const { return vector_.IsValid(); }
    const CXTPImageManagerVectorImageHandle& GetVectorImage() const { return vector_; }

    // The image of a state at the icon's size; a state without its own image shows the normal
    // one (disabled: a faded grey copy of it). Owned by the icon.
    HICON GetIcon(XTPImageState state = xtpImageNormal) const;
    // Whether the state has an image of its own.
    BOOL HasState(XTPImageState state) const;
    // Draws the state's image at pt, sized sz (0: the icon's size). A vector icon is drawn
    // afresh at the size asked for.
    void Draw(CDC* pDC, CPoint pt, CSize sz, XTPImageState state = xtpImageNormal) const;
    void Draw(CDC* pDC, CPoint pt, XTPImageState state = xtpImageNormal) const {
        Draw(pDC, pt, CSize(0, 0), state);
    }

    // Copies hIcon in; the caller keeps its own.
    void SetIcon(HICON hIcon, XTPImageState state);
    void SetVectorIcon(const CXTPImageManagerVectorImageHandle& handle);

private:
    HICON imageAt(XTPImageState state, int cx, int cy) const;

    UINT id_;
    int width_;
    int height_;
    HICON states_[5] = {};
    CXTPImageManagerVectorImageHandle vector_;
    mutable HICON derivedDisabled_ = nullptr;
    mutable std::map<std::pair<int, int>, HICON> rendered_; // vector images by size
};

// The icons of one command id, by width.
class CXTPImageManagerIconSet {
public:
    explicit CXTPImageManagerIconSet(UINT nID) : id_(nID) {}
    UINT GetID() const { return id_; }
    const std::map<int, std::unique_ptr<CXTPImageManagerIcon>>& GetIcons() const { return icons_; }
    // The icon of exactly this width; null when there is none.
    CXTPImageManagerIcon* GetIcon(int nWidth) const;
    // The icon of this width, made when missing.
    CXTPImageManagerIcon* GetOrCreate(int nWidth, int nHeight);
    void RemoveIcon(int nWidth) { icons_.erase(nWidth); }
    BOOL IsEmpty() const { return icons_.empty(); }

private:
    UINT id_;
    std::map<int, std::unique_ptr<CXTPImageManagerIcon>> icons_;
};

class CXTPImageManager : public CCmdTarget {
public:
    CXTPImageManager();
    ~CXTPImageManager() override;

    // A copy of hIcon for the command; a size of 0 takes the icon's own. False for a null
    // handle.
    BOOL SetIcon(HICON hIcon, UINT nIDCommand, CSize szIcon = CSize(0, 0),
                 XTPImageState imageState = xtpImageNormal);
    // Icons cut side by side from a bitmap (szIcon squares, left to right) for the ids; an id
    // of 0 skips its square. False when the bitmap cannot be read or is too narrow.
    BOOL SetIcons(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                  XTPImageState imageState = xtpImageNormal);
    BOOL SetIcons(CBitmap& bmpIcons, const UINT* pCommands, int nCount, CSize szIcon,
                  XTPImageState imageState = xtpImageNormal) {
        return SetIcons(static_cast<HBITMAP>(bmpIcons.GetSafeHandle()), pCommands, nCount, szIcon,
                        imageState);
    }
    // Image i of the list for pCommands[i].
    BOOL SetIcons(CImageList& imageList, const UINT* pCommands, int nCount, CSize szIcon = CSize(0, 0),
                  XTPImageState imageState = xtpImageNormal);
    // The images of an .ico file: every size it holds when szIcon is 0, else the one size. A
    // corrupt or missing file adds nothing, logs one line and answers false.
    BOOL SetIconFromIcoFile(LPCWSTR lpszFileName, UINT nIDCommand, CSize szIcon = CSize(0, 0),
                            XTPImageState imageState = xtpImageNormal);
    // The icon resource of a module (the system's standard icons with a null module).
    BOOL SetIconFromResource(HINSTANCE hInst, LPCWSTR lpszResource, UINT nIDCommand,
                             CSize szIcon = CSize(0, 0), XTPImageState imageState = xtpImageNormal);
    // The SVG document as the command's icon at every size; replaces its raster icons.
    BOOL SetVectorIcon(const CXTPImageManagerVectorImageHandle& handle, UINT nIDCommand);
    // An icon from an image file (.svg, .ico, .png, .bmp) under a new id of its own; 0 when the
    // file holds no image.
    UINT AddCustomIconFromFile(LPCWSTR lpszFileName, int nWidth = 16);

    // The command's icon of this width (0: the smallest it has). Without one of that width, a
    // vector icon answers at any width, else the nearest larger, else the largest; null when
    // the command has no icon.
    CXTPImageManagerIcon* GetImage(UINT nCommand, int nWidth = 0) const;
    // The command's icon of exactly this width (0: any); null when there is none.
    CXTPImageManagerIcon* Lookup(UINT nCommand, int nWidth = 0) const;
    CXTPImageManagerIconSet* GetIconSet(UINT nCommand) const;
    BOOL IsVectorIcon(UINT nCommand) const;
    void RemoveIcon(UINT nIDCommand);
    void RemoveAll();
    std::vector<UINT> GetCommands() const;

    // The command's icons into or out of the exchange. Loading replaces what the command had
    // only when every icon of the section reads; a damaged section changes nothing.
    BOOL DoPropExchange(UINT nCommand, CXTPPropExchange* pPX);

    // A 32-bit DIB section (bottom-up, as the platform's), its pixels cleared; lpBits receives
    // them when given.
    static HBITMAP Create32BPPDIBSection(HDC hDC, int iWidth, int iHeight, LPBYTE* lpBits = nullptr);

private:
    CXTPImageManagerIconSet* setFor(UINT id);
    std::map<UINT, std::unique_ptr<CXTPImageManagerIconSet>> sets_;
    UINT nextCustomId_ = 0xE0000000;
};

// The image manager of the process, shared by every bar without one of its own.
CXTPImageManager* XTPImageManager();

DV_EXPORTS_END
