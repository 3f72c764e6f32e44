// Class factories of automation servers, and the application lock that keeps a server
// running while its clients hold objects.
#pragma once

#include "afx/cmdtarget.h"
#include "pal/visibility.h"
#include "win/com.h"

#include <memory>

DV_EXPORTS_BEGIN

// A factory makes objects of a dynamically creatable CCmdTarget class for clients, in this
// process or (once registered) in others. Every factory of the program is listed from its
// construction to its destruction, so that RegisterAll and UpdateRegistryAll reach them all.
class COleObjectFactory : public CCmdTarget {
    DECLARE_DYNAMIC(COleObjectFactory)
public:
    // bMultiInstance: each client gets a new instance of the program (the class is registered
    // for single use); otherwise one running program serves every client.
    COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance, LPCWSTR lpszProgID);
    ~COleObjectFactory() override;

    BOOL IsRegistered() const { return m_dwRegister != 0; }
    REFCLSID GetClassID() const { return m_clsid; }
    LPCWSTR GetProgID() const { return m_strProgID.IsEmpty() ? nullptr : m_strProgID.GetString(); }

    // Makes the class reachable by clients; TRUE when it is (also when it already was).
    virtual BOOL Register();
    void Revoke();
    static BOOL RegisterAll();
    static void RevokeAll();

    // Writes the class to HKEY_CLASSES_ROOT: "<ProgID>" (the ProgID as its name) with
    // "<ProgID>\CLSID", and "CLSID\{...}" with "ProgID" and "LocalServer32", the command
    // line that starts this program. Without a ProgID (given or the factory's) only the
    // class's own key is written.
    BOOL UpdateRegistry(LPCWSTR lpszProgID = nullptr);
    // Writes (bRegister) or removes this factory's entries.
    virtual BOOL UpdateRegistry(BOOL bRegister);
    static BOOL UpdateRegistryAll(BOOL bRegister = TRUE);

    // The class's object, or null. Called for each client request.
    virtual CCmdTarget* OnCreateObject();

    // Factories live as long as their owner, never by their reference count.
    void OnFinalRelease() override {}

protected:
    CLSID m_clsid;
    CRuntimeClass* m_pRuntimeClass;
    BOOL m_bMultiInstance;
    CString m_strProgID;
    DWORD m_dwRegister = 0;

private:
    class ClassFactory;
    std::unique_ptr<ClassFactory> m_factory;
};

// A static factory for a class, named `factory`, and its class id `guid`.
#define DECLARE_OLECREATE(class_name)                                                                        \
public:                                                                                                      \
    static COleObjectFactory factory;                                                                        \
    static const GUID guid;

#define IMPLEMENT_OLECREATE(class_name, external_name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)            \
    const GUID class_name::guid = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};                             \
    COleObjectFactory class_name::factory(class_name::guid, RUNTIME_CLASS(class_name), FALSE,                \
                                          L"" external_name);

// The application lock: every automation object that keeps the program alive takes it. When
// the last lock goes in a program that is not under the user's control (started for a
// client), the program ends: its message loop gets the quit message.
void AfxOleLockApp();
void AfxOleUnlockApp();
// Whether no lock is held.
BOOL AfxOleCanExitApp();

namespace pal::mfc {

// How many application locks are held.
LONG oleLockCount();

} // namespace pal::mfc

DV_EXPORTS_END
