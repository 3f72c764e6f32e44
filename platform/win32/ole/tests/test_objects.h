// A data object, a drop source and a drop target for the tests, written against the interfaces
// only. The data object can be told to misbehave the ways a foreign one might.
#pragma once

#include "win/ole.h"
#include "win/user.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace oletest {

// Counts references; deletes itself with the last.
template <class I> class Counted : public I {
public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG n = --refs_;
        if (!n)
            delete this;
        return n;
    }

protected:
    virtual ~Counted() = default;
    HRESULT answer(REFIID iid, REFIID own, void** out) {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, own))
            return E_NOINTERFACE;
        *out = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }

private:
    ULONG refs_ = 1;
};

enum class Misbehaviour {
    None,
    FailGetData, // GetData answers E_FAIL for everything it offers
    WrongMedium, // asked for global memory, it says it gave a stream and gives none
    BadHandle,   // says global memory but hands a handle that is no block
    StreamOnly,  // serves its formats in streams only
};

class TestData final : public Counted<IDataObject> {
public:
    explicit TestData(Misbehaviour how = Misbehaviour::None) : how_(how) {}

    void add(UINT format, std::string bytes) { entries_.push_back({format, std::move(bytes)}); }

    HRESULT QueryInterface(REFIID iid, void** out) override { return answer(iid, IID_IDataObject, out); }
    HRESULT GetData(FORMATETC* f, STGMEDIUM* m) override;
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(FORMATETC* f) override { return find(f) ? S_OK : DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** e) override;
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        UINT format;
        std::string bytes;
    };
    const Entry* find(const FORMATETC* f) const;
    DWORD media() const { return how_ == Misbehaviour::StreamOnly ? TYMED_ISTREAM : TYMED_HGLOBAL; }

    Misbehaviour how_;
    std::vector<Entry> entries_;
};

// Drops when the left button is up, cancels on Esc; counts feedback. Each question first runs
// the next step of a script, which is how a test's input arrives while the drag runs.
class TestSource final : public Counted<IDropSource> {
public:
    HRESULT QueryInterface(REFIID iid, void** out) override { return answer(iid, IID_IDropSource, out); }
    HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (next < script.size())
            script[next++]();
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override {
        ++feedback;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    int feedback = 0;
    std::vector<std::function<void()>> script;
    size_t next = 0;
};

// Chooses as the platform's shell does: Ctrl copies, otherwise a move; records what it was told.
class TestTarget final : public Counted<IDropTarget> {
public:
    HRESULT QueryInterface(REFIID iid, void** out) override { return answer(iid, IID_IDropTarget, out); }
    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL p, DWORD* effect) override;
    HRESULT DragOver(DWORD keys, POINTL p, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL p, DWORD* effect) override;

    // Takes only text (CF_UNICODETEXT), as a target that takes only its own kind of data.
    bool onlyText = false;
    std::vector<std::string> calls; // "enter", "over", "leave", "drop"
    std::wstring droppedText;       // CF_UNICODETEXT of the dropped object
    POINTL dropPoint{};
    bool dropReadFailed = false;

private:
    DWORD choose(DWORD keys, DWORD allowed) const;
    bool hasText_ = false; // what the drag over the target offers
};

// The text of a CF_UNICODETEXT block.
std::string unicodeBlock(const std::wstring& text);
// A CF_HDROP block of wide paths.
std::string fileList(std::initializer_list<const wchar_t*> paths);
std::wstring textOfUnicodeBlock(const std::string& bytes);

} // namespace oletest
