// The drop target of a window: OLE's calls become the target's handlers, with the data object
// wrapped and the point in the window's client coordinates.
#include "afxole.h"
#include "afxwin.h"

struct COleDropTarget::XDropTarget final : IDropTarget {
    explicit XDropTarget(COleDropTarget& owner) : owner_(owner) {}
    ~XDropTarget() { forget(); }

    HRESULT QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDropTarget))
            return E_NOINTERFACE;
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return owner_.ExternalAddRef(); }
    ULONG Release() override { return owner_.ExternalRelease(); }

    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        forget();
        if (data) {
            data->AddRef();
            data_ = data;
        }
        COleDataObject wrapped;
        wrapped.Attach(data_, FALSE);
        *effect = owner_.OnDragEnter(window(), &wrapped, keys, client(pt));
        return S_OK;
    }

    HRESULT DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        COleDataObject wrapped;
        wrapped.Attach(data_, FALSE);
        *effect = owner_.OnDragOver(window(), &wrapped, keys, client(pt));
        return S_OK;
    }

    HRESULT DragLeave() override {
        owner_.OnDragLeave(window());
        forget();
        return S_OK;
    }

    HRESULT Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        COleDataObject wrapped;
        wrapped.Attach(data, FALSE);
        CWnd* wnd = window();
        const CPoint point = client(pt);
        const DROPEFFECT allowed = *effect;
        // What the target would do with the keys as they are at the drop.
        const DROPEFFECT dropDefault = owner_.OnDragOver(wnd, &wrapped, keys, point) & allowed;
        DROPEFFECT done = owner_.OnDropEx(wnd, &wrapped, dropDefault, allowed, point);
        if (done == static_cast<DROPEFFECT>(-1)) {
            done = dropDefault;
            if (done != DROPEFFECT_NONE && !owner_.OnDrop(wnd, &wrapped, done, point))
                done = DROPEFFECT_NONE;
        }
        *effect = done;
        forget();
        return S_OK;
    }

private:
    CWnd* window() const { return CWnd::FromHandle(owner_.m_hWnd); }
    CPoint client(POINTL pt) const {
        POINT p{pt.x, pt.y};
        ScreenToClient(owner_.m_hWnd, &p);
        return CPoint(p.x, p.y);
    }
    void forget() {
        if (data_)
            data_->Release();
        data_ = nullptr;
    }

    COleDropTarget& owner_;
    IDataObject* data_ = nullptr;
};

COleDropTarget::COleDropTarget() : m_pXDropTarget(new XDropTarget(*this)) {}

COleDropTarget::~COleDropTarget() {
    Revoke();
    delete m_pXDropTarget;
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (!pWnd || !pWnd->m_hWnd || m_hWnd)
        return FALSE;
    // The registration's reference belongs to the window, not to whoever made this object.
    if (FAILED(RegisterDragDrop(pWnd->m_hWnd, m_pXDropTarget)))
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (!m_hWnd)
        return;
    const HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    RevokeDragDrop(hwnd);
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) {
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
    return static_cast<DROPEFFECT>(-1);
}
