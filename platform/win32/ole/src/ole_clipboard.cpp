// OLE on a thread, and the OLE clipboard over the clipboard functions.
#include "clipboard_store.h"
#include "com_object.h"
#include "medium.h"
#include "ole_thread.h"

#include "win/ole.h"

#include <mutex>

namespace pal::ole {
namespace {

thread_local int tOleCount = 0;

// The object last put on the clipboard by this program, while the clipboard still holds what
// it rendered.
struct Current {
    std::mutex mutex;
    Ref<IDataObject> object;
    DWORD sequence = 0;
};

Current& current() {
    static Current* c = new Current;
    return *c;
}

} // namespace

bool oleInitialized() {
    return tOleCount > 0;
}

} // namespace pal::ole

using namespace pal::ole;

HRESULT OleInitialize(LPVOID) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return hr;
    return tOleCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize() {
    if (tOleCount == 0)
        return;
    --tOleCount;
    CoUninitialize();
}

HRESULT OleSetClipboard(LPDATAOBJECT object) {
    if (!oleInitialized())
        return CO_E_NOTINITIALIZED;
    if (!OpenClipboard(nullptr))
        return CLIPBRD_E_CANT_OPEN;
    if (!EmptyClipboard()) {
        CloseClipboard();
        return CLIPBRD_E_CANT_EMPTY;
    }
    Ref<IDataObject> held(object, true);
    const bool rendered = !object || renderInto(kClipboardSlot, object) >= 0;
    const DWORD sequence = GetClipboardSequenceNumber();
    if (!CloseClipboard())
        return CLIPBRD_E_CANT_CLOSE;
    std::lock_guard lock(current().mutex);
    current().object = rendered ? held : Ref<IDataObject>();
    current().sequence = sequence;
    return rendered ? S_OK : CLIPBRD_E_CANT_SET;
}

HRESULT OleGetClipboard(LPDATAOBJECT* object) {
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    if (!oleInitialized())
        return CO_E_NOTINITIALIZED;
    *object = newStoredDataObject(kClipboardSlot);
    return S_OK;
}

HRESULT OleFlushClipboard() {
    if (!oleInitialized())
        return CO_E_NOTINITIALIZED;
    // Everything was rendered when the object was set; the clipboard keeps it without the object.
    Ref<IDataObject> released;
    {
        std::lock_guard lock(current().mutex);
        released = current().object;
        current().object.reset();
    }
    return S_OK;
}

HRESULT OleIsCurrentClipboard(LPDATAOBJECT object) {
    if (!object)
        return S_FALSE;
    std::lock_guard lock(current().mutex);
    return current().object.get() == object && current().sequence == GetClipboardSequenceNumber() ? S_OK
                                                                                                  : S_FALSE;
}
