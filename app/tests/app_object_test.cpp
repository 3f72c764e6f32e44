#include "startup_fixture.h"

#include "app/DocumentAutomation.h"
#include "app/ServerAppProxy.h"

#include "DravikKernel/DocumentManager.h"
#include "pal/com/dispatch.h"
#include "pal/com/variant.h"

#include <cwchar>

namespace dvapp::test {
namespace {

class AppObject : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
};

TEST_F(AppObject, IsReachedThroughItsAccessorAndOwnsTheCallbackObject) {
    EXPECT_EQ(GetDvw32App(), app.get());
    EXPECT_EQ(DravikServerAppProxy::Instance(), &app->GetServerAppProxy());
    app.reset();
    EXPECT_EQ(GetDvw32App(), nullptr);
    EXPECT_EQ(DravikServerAppProxy::Instance(), nullptr);
}

TEST_F(AppObject, GetMainFrameGivesOnlyAMainFrame) {
    EXPECT_EQ(GetMainFrame(), nullptr);
    CFrameWnd other;
    UIModuleProxy::Instance().SetMainWindow(&other);
    EXPECT_EQ(GetMainFrame(), nullptr);
    CMainFrame frame;
    UIModuleProxy::Instance().SetMainWindow(&frame);
    EXPECT_EQ(GetMainFrame(), &frame);
    UIModuleProxy::Instance().SetMainWindow(nullptr);
}

TEST_F(AppObject, BroadcastsSkipFramesOfAnotherClass) {
    EXPECT_TRUE(CDvw32App::GetMainFrames().empty());
    EXPECT_EQ(CDvw32App::NumMainFrames(), 0u);
    CFrameWnd other;
    CMainFrame first, second;
    auto& ui = UIModuleProxy::Instance();
    ui.AddMainFrame(&first);
    ui.AddMainFrame(&other);
    ui.AddMainFrame(&second);
    EXPECT_EQ(CDvw32App::GetMainFrames(), (std::vector<CMainFrame*>{&first, &second}));
    EXPECT_EQ(CDvw32App::NumMainFrames(), 2u);
    int visits = 0;
    CDvw32App::ForEachMainFrame([&](CMainFrame*) { ++visits; });
    EXPECT_EQ(visits, 2);
    // Frames without a window are left alone.
    app->EnableMainFrames(false);
    ui.RemoveMainFrame(&first);
    ui.RemoveMainFrame(&other);
    ui.RemoveMainFrame(&second);
}

TEST_F(AppObject, EnablingMainFramesReachesEachWindowAndDoesNotReenter) {
    auto* frame = new CMainFrame; // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, L"Main"));
    UIModuleProxy::Instance().AddMainFrame(frame);
    UIModuleProxy::Instance().SetMainWindow(frame);
    app->EnableMainFrames(false);
    EXPECT_FALSE(frame->IsWindowEnabled());
    app->EnableMainFrames(true);
    EXPECT_TRUE(frame->IsWindowEnabled());
    frame->DestroyWindow();
    EXPECT_EQ(CDvw32App::NumMainFrames(), 0u) << "a destroyed frame leaves the UI module's list";
    EXPECT_EQ(GetMainFrame(), nullptr);
}

// A frame that, while it is being disabled, asks for every main frame to be enabled again, as a
// handler of WM_ENABLE may.
class ReenteringFrame : public CMainFrame {
public:
    CDvw32App* app = nullptr;
    int reentries = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENABLE && wParam == FALSE && app != nullptr) {
            ++reentries;
            app->EnableMainFrames(true);
        }
        return CMainFrame::WindowProc(message, wParam, lParam);
    }
};

TEST_F(AppObject, ACallMadeWhileFramesAreBeingEnabledDoesNothing) {
    auto* first = new ReenteringFrame; // each deletes itself with its window
    auto* second = new ReenteringFrame;
    ASSERT_TRUE(first->Create(nullptr, L"First"));
    ASSERT_TRUE(second->Create(nullptr, L"Second"));
    first->app = app.get();
    UIModuleProxy::Instance().AddMainFrame(first);
    UIModuleProxy::Instance().AddMainFrame(second);
    app->EnableMainFrames(false);
    EXPECT_EQ(first->reentries, 1);
    EXPECT_FALSE(first->IsWindowEnabled()) << "the inner call enabled the frame again";
    EXPECT_FALSE(second->IsWindowEnabled());
    // Once the outer call is over, a new one acts again.
    first->app = nullptr;
    app->EnableMainFrames(true);
    EXPECT_TRUE(first->IsWindowEnabled());
    EXPECT_TRUE(second->IsWindowEnabled());
    first->DestroyWindow();
    second->DestroyWindow();
}

TEST_F(AppObject, ApplicationCommandsAreFoundOnlyInsideTheirRange) {
    EXPECT_EQ(app->GetApplicationCommand(17000), nullptr) << "empty table";
    const auto key = *Dravik::UniqueIdentifier::TryParse(L"{F5CBECA0-3A0A-11CF-A3A7-004F56009C20}");
    IApplicationCommand* a = app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"DVOPT", 4, false));
    IApplicationCommand* b = app->AddApplicationCommand(std::make_unique<ApplicationCommand>(4, key, false));
    struct Case {
        UINT id;
        IApplicationCommand* expected;
    };
    const Case cases[] = {{16999, nullptr}, {17000, a},       {17001, b},
                          {17002, nullptr}, {32000, nullptr}, {32001, nullptr}};
    for (const auto& c : cases)
        EXPECT_EQ(app->GetApplicationCommand(c.id), c.expected) << c.id;
    EXPECT_EQ(app->GetApplicationCommandCount(), 2u);
    EXPECT_EQ(app->GetApplicationCommandAt(1), b);
    EXPECT_EQ(app->GetApplicationCommandAt(2), nullptr);
    EXPECT_EQ(dvkernel::test::registeredCommands().count(17001), 1u);
}

TEST_F(AppObject, ApplicationCommandsAreLookedUpByAddOnAndInternalNumber) {
    const wchar_t* keyText = L"{F5CBECA0-3A0A-11CF-A3A7-004F56009C20}";
    const auto key = *Dravik::UniqueIdentifier::TryParse(keyText);
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(L"DVOPT", 4, false)); // 17000
    app->AddApplicationCommand(std::make_unique<ApplicationCommand>(4, key, false)); // 17001
    app->AddApplicationCommand(std::make_unique<CDVAppCommand>(keyText, 5, false));  // 17002
    struct Case {
        const wchar_t* key;
        int internal;
        UINT expected;
    };
    const Case cases[] = {
        {nullptr, 9, 9},     {L"", 9, 9},         {L"DVOPT", 4, 17000}, {L"dvopt", 4, 0},
        {keyText, 4, 17001}, {keyText, 5, 17002}, {L"DVOPT", 5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app->FindApplicationCommandId(c.key, c.internal), c.expected)
            << (c.key ? pal::text::toUtf8(c.key) : "null") << " " << c.internal;
    EXPECT_EQ(app->FindApplicationCommandId(key, 4), 17001u);
    EXPECT_EQ(app->FindApplicationCommandId(key, 5), 0u);
}

TEST_F(AppObject, RegisteredNamesCompareWithoutCaseAndNeverHoldAnEmptyName) {
    DravikServerAppProxy& proxy = app->GetServerAppProxy();
    proxy.AddApplicationName(L"MyAddOn");
    proxy.AddApplicationName(L"");
    proxy.AddApplicationName(nullptr);
    EXPECT_TRUE(proxy.IsApplicationNameKnown(L"MYADDON"));
    EXPECT_FALSE(proxy.IsApplicationNameKnown(L"MyAddOn2"));
    EXPECT_FALSE(proxy.IsApplicationNameKnown(L""));
    EXPECT_TRUE(proxy.IsApplicationStateClear());
}

TEST_F(AppObject, SettersAnswerTheOldValueAndTheProfileNameIsACopy) {
    EXPECT_EQ(app->SetTitleStringId(9), 0u);
    EXPECT_EQ(app->SetTitleStringId(10), 9u);
    EXPECT_EQ(app->SetDocTemplateResourceId(1000), 0u);
    EXPECT_EQ(app->SetDocTemplateResourceId(994), 1000u);
    wchar_t name[] = L"Profile A";
    app->GetServerAppProxy().SetProfileName(name);
    name[0] = L'X';
    EXPECT_STREQ(app->m_pszProfileName, L"Profile A");
    app->QueueDDECommand(L"");
    app->QueueDDECommand(L"[open(\"x\")]");
    EXPECT_EQ(app->GetQueuedDDECommands().size(), 1u);
}

TEST_F(AppObject, ThePopupToolbarRecordIgnoresOtherDocumentsAndFlaggedEvents) {
    int doc = 0;
    auto* document = reinterpret_cast<CDvw32Doc*>(&doc);
    for (const unsigned flags : {0u, 0x20u})
        ApplicationEventManager::runEvent(kPopupToolbarEvent, ApplicationEventArgs(document, flags));
    EXPECT_EQ(app->GetPendingPopupToolbarDocument(), nullptr);
}

TEST_F(AppObject, AFixedBufferTakesThirtyOneCharacters) {
    wchar_t buffer[32];
    EXPECT_EQ(FormatFixedBuffer32(buffer, 32, L"icon_sizes.%u", 24u), 13);
    EXPECT_STREQ(buffer, L"icon_sizes.24");
    EXPECT_EQ(FormatFixedBuffer32(buffer, 32, L"%s", L"0123456789012345678901234567890123456789"), -1);
    EXPECT_EQ(std::wcslen(buffer), 31u);
}

TEST_F(AppObject, RegistryKeysOpenUnderAnOpenKeyAndReadOnlyStringValues) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\RegistryKeyTest", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    const auto setValue = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExW(created, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    };
    const wchar_t text[] = L"abc";
    const DWORD number = 5;
    setValue(L"text", REG_SZ, text, sizeof(text));
    setValue(L"terminator", REG_SZ, L"", sizeof(wchar_t));
    setValue(L"nothing", REG_SZ, L"", 0);
    setValue(L"number", REG_DWORD, &number, sizeof(number));
    setValue(L"expandable", REG_EXPAND_SZ, text, sizeof(text));
    RegCloseKey(created);

    EXPECT_FALSE(Dravik::RegistryKey::Open(nullptr, L"Software", KEY_READ).IsOpen());
    EXPECT_FALSE(Dravik::RegistryKey::Open(HKEY_CURRENT_USER, L"Software\\Missing", KEY_READ).IsOpen());
    const Dravik::RegistryKey software = Dravik::RegistryKey::Open(HKEY_CURRENT_USER, L"Software", KEY_READ);
    ASSERT_TRUE(software.IsOpen());
    const Dravik::RegistryKey key = software.OpenSubKey(L"RegistryKeyTest", KEY_READ);
    ASSERT_TRUE(key.IsOpen());

    struct Case {
        const wchar_t* name;
        bool read;
        std::wstring value;
    };
    const Case cases[] = {
        {L"text", true, L"abc"},    {L"terminator", true, L""},     {L"nothing", true, L""},
        {L"number", false, L"old"}, {L"expandable", false, L"old"}, {L"missing", false, L"old"},
    };
    for (const auto& c : cases) {
        std::wstring value = L"old";
        EXPECT_EQ(key.GetStringValue(c.name, value), c.read) << pal::text::toUtf8(c.name);
        EXPECT_EQ(value, c.value) << pal::text::toUtf8(c.name);
    }

    // A key that is not open reads nothing and opens nothing.
    const Dravik::RegistryKey closed;
    std::wstring value;
    EXPECT_FALSE(closed.GetStringValue(L"text", value));
    EXPECT_FALSE(closed.OpenSubKey(L"RegistryKeyTest", KEY_READ).IsOpen());
}

TEST_F(AppObject, TheApplicationNameIsTheTitleResourceOrTheVireloTitle) {
    EXPECT_EQ(GetApplicationName(), L"DRAVIK CAD");
    GlobalContainer::Instance().InitSessionLocale(L"Ger", true, 1);
    EXPECT_EQ(GetApplicationName(), L"VIRELO CAD 3D");
}

// A client's document object stays with the document it was given for: once that closes, a
// document listed later at the same address is another document and is never reached through it.
TEST_F(AppObject, ADocumentsAutomationObjectNeverReachesALaterDocument) {
    auto pathThrough = [](IDispatch* object) {
        pal::com::Variant path;
        EXPECT_EQ(pal::com::invokeByName(object, L"GetPathName", {}, &path), S_OK);
        return path.vt == VT_BSTR && path.bstrVal ? std::wstring(path.bstrVal) : std::wstring(L"?");
    };
    auto& documents = Dravik::DocumentManager::Instance();
    CDvw32Doc document;
    EXPECT_EQ(GetDocumentDispatch(&document), nullptr) << "not open";
    document.SetPathName(L"C:\\Drawings\\first.grb", FALSE);
    documents.AddDocument(&document);
    LPDISPATCH first = GetDocumentDispatch(&document);
    ASSERT_NE(first, nullptr);
    LPDISPATCH same = GetDocumentDispatch(&document);
    EXPECT_EQ(same, first) << "one object per open document";
    same->Release();
    EXPECT_EQ(pathThrough(first), L"C:\\Drawings\\first.grb");

    documents.RemoveDocument(&document);
    document.SetPathName(L"C:\\Drawings\\second.grb", FALSE);
    documents.AddDocument(&document);
    EXPECT_EQ(pathThrough(first), L"") << "the first document is gone";
    LPDISPATCH second = GetDocumentDispatch(&document);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(pathThrough(second), L"C:\\Drawings\\second.grb");
    second->Release();
    first->Release();
    documents.RemoveDocument(&document);
}

} // namespace
} // namespace dvapp::test
