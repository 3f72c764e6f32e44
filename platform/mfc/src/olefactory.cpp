#include "afx/olefactory.h"

#include "afx/app.h"
#include "afx/cmdline.h"
#include "afx/oleexcept.h"

#include "pal/path.h"
#include "pal/registry.h"
#include "win/system.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(COleObjectFactory, CCmdTarget)

namespace {

// Every factory of the program; made on first use, since static factories are built during
// static initialisation.
struct FactoryList {
    std::mutex mutex;
    std::vector<COleObjectFactory*> factories;
};

FactoryList& factoryList() {
    static FactoryList* list = new FactoryList; // never destroyed: static factories outlive it
    return *list;
}

std::vector<COleObjectFactory*> allFactories() {
    auto& list = factoryList();
    std::lock_guard lock(list.mutex);
    return list.factories;
}

std::atomic<LONG> appLocks{0};

// A registration already as it should be is left alone: the program registers its classes at
// every start, and a write that changes nothing would still cost a sync of the disk.
bool setDefault(const std::wstring& subkey, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        std::wstring present(value.size() + 2, L'\0');
        DWORD type = 0, bytes = static_cast<DWORD>(present.size() * sizeof(wchar_t));
        const bool same =
            RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(present.data()), &bytes) ==
                ERROR_SUCCESS &&
            type == REG_SZ && bytes == (value.size() + 1) * sizeof(wchar_t) &&
            present.compare(0, value.size() + 1, value.c_str(), value.size() + 1) == 0;
        RegCloseKey(key);
        if (same)
            return true;
    }
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LSTATUS status =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool deleteTree(const std::wstring& subkey) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, subkey.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// The command line that starts this program; the platform adds its switch for a server
// started for a client.
std::wstring serverCommand() {
    return L"\"" + pal::path::textOf(pal::folders::programFile()) + L"\"";
}

} // namespace

// The factory's IClassFactory: its reference count is the factory's.
class COleObjectFactory::ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(COleObjectFactory& owner) : owner_(owner) {}
    virtual ~ClassFactory() = default;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!(iid == IID_IUnknown || iid == IID_IClassFactory))
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG AddRef() override { return owner_.ExternalAddRef(); }
    ULONG Release() override { return owner_.ExternalRelease(); }

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CCmdTarget* target = nullptr;
        try {
            target = owner_.OnCreateObject();
        } catch (CException* e) {
            const SCODE sc = COleException::Process(e);
            e->Delete();
            return sc;
        }
        if (target == nullptr)
            return E_OUTOFMEMORY;
        // The new object holds its creator's reference; the client's comes from the query,
        // and an object that has not the interface goes at once.
        const HRESULT hr = target->ExternalQueryInterface(&iid, object);
        target->InternalRelease();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override {
        if (lock)
            AfxOleLockApp();
        else
            AfxOleUnlockApp();
        return S_OK;
    }

private:
    COleObjectFactory& owner_;
};

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance,
                                     LPCWSTR lpszProgID)
    : m_clsid(clsid), m_pRuntimeClass(pRuntimeClass), m_bMultiInstance(bMultiInstance),
      m_strProgID(lpszProgID ? lpszProgID : L""), m_factory(std::make_unique<ClassFactory>(*this)) {
    auto& list = factoryList();
    std::lock_guard lock(list.mutex);
    list.factories.push_back(this);
}

COleObjectFactory::~COleObjectFactory() {
    Revoke();
    auto& list = factoryList();
    std::lock_guard lock(list.mutex);
    list.factories.erase(std::remove(list.factories.begin(), list.factories.end(), this),
                         list.factories.end());
}

BOOL COleObjectFactory::Register() {
    if (IsRegistered())
        return TRUE;
    if (m_clsid == CLSID_NULL)
        return FALSE;
    const DWORD use = m_bMultiInstance ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE;
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(m_clsid, m_factory.get(), CLSCTX_LOCAL_SERVER, use, &cookie)))
        return FALSE;
    m_dwRegister = cookie;
    return TRUE;
}

void COleObjectFactory::Revoke() {
    if (!IsRegistered())
        return;
    CoRevokeClassObject(m_dwRegister);
    m_dwRegister = 0;
}

BOOL COleObjectFactory::RegisterAll() {
    BOOL all = TRUE;
    for (COleObjectFactory* f : allFactories()) {
        if (!f->Register())
            all = FALSE;
    }
    return all;
}

void COleObjectFactory::RevokeAll() {
    for (COleObjectFactory* f : allFactories())
        f->Revoke();
}

BOOL COleObjectFactory::UpdateRegistry(LPCWSTR lpszProgID) {
    if (m_clsid == CLSID_NULL)
        return FALSE;
    const std::wstring progId = lpszProgID ? lpszProgID : m_strProgID.GetString();
    pal::reg::Batch batch; // the class's keys are written together or not at all
    const std::wstring clsidKey = L"CLSID\\" + pal::com::guidToString(m_clsid);
    bool ok = setDefault(clsidKey, progId) && setDefault(clsidKey + L"\\LocalServer32", serverCommand());
    if (!progId.empty()) {
        ok = ok && setDefault(clsidKey + L"\\ProgID", progId) && setDefault(progId, progId) &&
             setDefault(progId + L"\\CLSID", pal::com::guidToString(m_clsid));
    }
    return ok && batch.commit() ? TRUE : FALSE;
}

BOOL COleObjectFactory::UpdateRegistry(BOOL bRegister) {
    if (bRegister)
        return UpdateRegistry(static_cast<LPCWSTR>(nullptr));
    if (m_clsid == CLSID_NULL)
        return FALSE;
    bool ok = deleteTree(L"CLSID\\" + pal::com::guidToString(m_clsid));
    // The ProgID goes only while it still names this class: another factory may have taken it.
    if (!m_strProgID.IsEmpty()) {
        CLSID current{};
        if (SUCCEEDED(CLSIDFromProgID(m_strProgID, &current)) && current == m_clsid)
            ok = deleteTree(m_strProgID.GetString()) && ok;
    }
    return ok ? TRUE : FALSE;
}

BOOL COleObjectFactory::UpdateRegistryAll(BOOL bRegister) {
    pal::reg::Batch batch;
    BOOL all = TRUE;
    for (COleObjectFactory* f : allFactories()) {
        if (!f->UpdateRegistry(bRegister))
            all = FALSE;
    }
    return batch.commit() ? all : FALSE;
}

CCmdTarget* COleObjectFactory::OnCreateObject() {
    if (m_pRuntimeClass == nullptr)
        return nullptr;
    CObject* object = m_pRuntimeClass->CreateObject();
    CCmdTarget* target = DYNAMIC_DOWNCAST(CCmdTarget, object);
    if (target == nullptr)
        delete object;
    return target;
}

// The application lock ------------------------------------------------------------------------

void AfxOleLockApp() {
    ++appLocks;
}

// The last unlock of a program that a client started ends it. Objects are released on the
// user-interface thread, whose loop gets the quit message; user control is taken back so that
// the end is asked for once.
void AfxOleUnlockApp() {
    LONG left = appLocks.load();
    do {
        if (left <= 0)
            return; // an unlock without its lock leaves the count alone
    } while (!appLocks.compare_exchange_weak(left, left - 1));
    if (left - 1 == 0 && !AfxOleGetUserCtrl()) {
        AfxOleSetUserCtrl(TRUE);
        AfxPostQuitMessage(0);
    }
}

BOOL AfxOleCanExitApp() {
    return appLocks.load() == 0 ? TRUE : FALSE;
}

namespace pal::mfc {

LONG oleLockCount() {
    return appLocks.load();
}

} // namespace pal::mfc
