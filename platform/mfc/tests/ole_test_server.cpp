// The automation test server: an application whose automation object is made by a static
// class factory for every client, keeps the application locked while it lives, and leads to
// the active document and its variables, as a drawing's title block is reached.
//   -RegServer / -UnregServer  writes or removes the class registry entries, then ends;
//   -Embedding                 (added by the platform when a client starts it) serves.
#include "afxdisp.h"
#include "ole_test_ids.h"

#include "pal/journal.h"
#include "pal/text.h"

#include <map>
#include <string>
#include <unistd.h>

namespace {

BSTR bstr(const std::wstring& s) {
    return SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
}

class TestVariables : public CCmdTarget {
public:
    TestVariables() {
        EnableAutomation();
        values_[L"$razrab"] = L"\"Петров\"";
    }

    BSTR GetVarExpression(LPCWSTR name) {
        auto it = values_.find(name);
        return bstr(it == values_.end() ? L"\"\"" : it->second);
    }
    void SetVarExpression(LPCWSTR name, LPCWSTR value) { pending_[name] = value; }
    void OK(LPCWSTR undoName) {
        for (auto& [k, v] : pending_)
            values_[k] = v;
        pending_.clear();
        pal::journal::record("oletest.commit", {{"undo", pal::text::toUtf8(undoName)},
                                                {"razrab", pal::text::toUtf8(values_[L"$razrab"])}});
    }
    void Cancel() { pending_.clear(); }

private:
    std::map<std::wstring, std::wstring> values_, pending_;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(TestVariables, CCmdTarget)
DISP_FUNCTION(TestVariables, "GetVarExpression", GetVarExpression, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(TestVariables, "SetVarExpression", SetVarExpression, VT_EMPTY, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(TestVariables, "OK", OK, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(TestVariables, "Cancel", Cancel, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

class TestDocument : public CCmdTarget {
public:
    TestDocument() : variables_(new TestVariables) { EnableAutomation(); }
    ~TestDocument() override { variables_->InternalRelease(); }

    LPDISPATCH GetModelVars() { return variables_->GetIDispatch(TRUE); }
    BSTR GetPath() { return SysAllocString(L"C:\\Чертежи\\деталь.dvd"); }

private:
    TestVariables* variables_;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(TestDocument, CCmdTarget)
DISP_FUNCTION(TestDocument, "GetModelVars", GetModelVars, VT_DISPATCH, VTS_NONE)
DISP_PROPERTY_EX(TestDocument, "Path", GetPath, SetNotSupported, VT_BSTR)
END_DISPATCH_MAP()

TestDocument* activeDocument = nullptr;

// The application object: a new one for every client, over the one running application.
class TestServer : public CCmdTarget {
    DECLARE_DYNCREATE(TestServer)
    DECLARE_OLECREATE(TestServer)
public:
    TestServer() {
        EnableAutomation();
        AfxOleLockApp();
    }
    ~TestServer() override { AfxOleUnlockApp(); }

    LPDISPATCH GetActiveFile() { return activeDocument ? activeDocument->GetIDispatch(TRUE) : nullptr; }
    BSTR Echo(LPCWSTR text) { return SysAllocString(text); }
    LONG Add(short a, LONG b) { return a + b; }
    double Scale(double value, float factor) { return value * factor; }
    BOOL Negate(BOOL on) { return !on; }
    BSTR GetFirstFile(short* position) {
        *position = 0;
        return SysAllocString(L"C:\\Чертежи\\деталь.dvd");
    }
    LONG LockCount() { return pal::mfc::oleLockCount(); }
    void Slow(LONG ms) {
        pal::journal::record("oletest.slow");
        usleep(static_cast<useconds_t>(ms) * 1000);
    }
    void Fail() { AfxThrowOleDispatchException(7, L"Ошибка сервера"); }
    void SetFocus() { pal::journal::record("oletest.focus"); }
    BSTR GetName() { return bstr(name_); }
    void SetName(LPCWSTR name) { name_ = name; }
    LONG GetVersion() { return 1800; }

private:
    std::wstring name_ = L"DravikCad";
    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(TestServer, CCmdTarget)

#define DVMFC_IMPLEMENT_OLECREATE(class_name, external_name, ...)                                            \
    IMPLEMENT_OLECREATE(class_name, external_name, __VA_ARGS__)
DVMFC_IMPLEMENT_OLECREATE(TestServer, "DVMFC.OLETEST", DVMFC_OLETEST_CLSID)

BEGIN_DISPATCH_MAP(TestServer, CCmdTarget)
DISP_FUNCTION(TestServer, "GetActiveFile", GetActiveFile, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(TestServer, "Echo", Echo, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(TestServer, "Add", Add, VT_I4, VTS_I2 VTS_I4)
DISP_FUNCTION(TestServer, "Scale", Scale, VT_R8, VTS_R8 VTS_R4)
DISP_FUNCTION(TestServer, "Negate", Negate, VT_BOOL, VTS_BOOL)
DISP_FUNCTION(TestServer, "GetFirstFile", GetFirstFile, VT_BSTR, VTS_PI2)
DISP_FUNCTION(TestServer, "LockCount", LockCount, VT_I4, VTS_NONE)
DISP_FUNCTION(TestServer, "Slow", Slow, VT_EMPTY, VTS_I4)
DISP_FUNCTION(TestServer, "Fail", Fail, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(TestServer, "SetFocus", SetFocus, VT_EMPTY, VTS_NONE)
DISP_PROPERTY_EX(TestServer, "Name", GetName, SetName, VT_BSTR)
DISP_PROPERTY_EX(TestServer, "Version", GetVersion, SetNotSupported, VT_I4)
END_DISPATCH_MAP()

class OleTestApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (info.m_nShellCommand == CCommandLineInfo::AppRegister ||
            info.m_nShellCommand == CCommandLineInfo::AppUnregister) {
            const BOOL ok =
                COleObjectFactory::UpdateRegistryAll(info.m_nShellCommand == CCommandLineInfo::AppRegister);
            pal::journal::record("oletest.registry", {{"ok", ok ? "1" : "0"}});
            return FALSE;
        }
        // Only a client starts this program.
        if (!info.m_bRunEmbedded && !info.m_bRunAutomated)
            return FALSE;
        CoInitialize(nullptr);
        activeDocument = new TestDocument;
        if (!COleObjectFactory::RegisterAll())
            return FALSE;
        serving_ = true;
        pal::journal::record("oletest.server");
        return TRUE;
    }

    int ExitInstance() override {
        COleObjectFactory::RevokeAll();
        if (activeDocument) {
            activeDocument->InternalRelease();
            activeDocument = nullptr;
        }
        if (serving_) {
            pal::journal::record("oletest.server.exit",
                                 {{"locks", std::to_string(pal::mfc::oleLockCount())}});
            CoUninitialize();
        }
        return CWinApp::ExitInstance();
    }

private:
    bool serving_ = false;
};

OleTestApp theApp;

} // namespace

int main(int argc, char** argv) {
    return pal::mfc::winMain(argc, argv);
}
