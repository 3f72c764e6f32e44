// Uniform data transfer in the class library: a data source that caches blocks and puts them
// on the clipboard or drags them, the wrapper that reads a data object, and the drop target of
// a window.
#pragma once

#include "afx/cmdtarget.h"
#include "afx/geometry.h"
#include "pal/visibility.h"
#include "windows.h"

#include <vector>

DV_EXPORTS_BEGIN

class CWnd;

// OLE on the application's thread; FALSE when it cannot be initialised.
BOOL AfxOleInit();

// Decides when a drag of a COleDataSource ends: it drops when the button that started it comes
// up, and cancels on Esc or when the other button goes down.
class COleDropSource : public CCmdTarget {
public:
    COleDropSource();
    ~COleDropSource() override;

    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);

    // The source's interface, for DoDragDrop.
    IDropSource* GetInterface();

protected:
    DWORD m_dwButtonDrop = MK_LBUTTON;
    DWORD m_dwButtonCancel = MK_RBUTTON;

private:
    friend class COleDataSource;
    // Takes the button that is down as the one that drops.
    void BeginDrag();
    struct XDropSource;
    XDropSource* m_pXDropSource;
};

class COleDataSource : public CCmdTarget {
public:
    COleDataSource();
    ~COleDataSource() override;

    // The source takes ownership of the block (or medium) and frees it with the source. A later
    // cache of the same format replaces the earlier one.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    void Empty();

    // Hands the source to the clipboard, which owns it from then on (the creator's reference
    // goes; the source is deleted when the clipboard lets go of it).
    void SetClipboard();
    static void FlushClipboard();

    // A modal drag of the cached data; the effect the target carried out, DROPEFFECT_NONE when
    // it was cancelled or nothing took it. The start rectangle is not used: the drag starts at once.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    // The source's data object, with a reference added when bAddRef is set.
    IDataObject* GetInterface(BOOL bAddRef = FALSE);

private:
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
    };
    struct XDataObject;
    const Entry* find(const FORMATETC& requested) const;

    std::vector<Entry> m_entries;
    XDataObject* m_pXDataObject;
};

class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // Attaches the clipboard's data object (OleGetClipboard).
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // A block that the caller owns, or null when the object has none or hands something other
    // than the block it claims (another medium, a handle that is no block).
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

private:
    LPDATAOBJECT m_lpDataObject = nullptr;
    LPENUMFORMATETC m_lpEnumerator = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

// The drop target of one window. Points reach the handlers in the window's client coordinates.
class COleDropTarget : public CCmdTarget {
public:
    COleDropTarget();
    ~COleDropTarget() override;

    BOOL Register(CWnd* pWnd);
    void Revoke();

    // By default nothing is accepted.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 by default, which hands the drop to OnDrop with the default effect.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);

protected:
    HWND m_hWnd = nullptr;

private:
    struct XDropTarget;
    XDropTarget* m_pXDropTarget;
};

DV_EXPORTS_END
