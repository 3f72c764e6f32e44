// What the kernel asks the callback object about files, profiles and settings, each through
// DravikServerAppProxy::Instance() as the kernel asks it: who holds a file (real processes), the
// document file dialog with its automatic naming, the profile the PDM system names, and new
// settings.
#include "startup_fixture.h"

#include "app/DocumentFileDialog.h"
#include "app/ServerAppProxy.h"
#include "frame/MainFrame.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"

#include "DVPDMProxy/WorkMix.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/GenerateDumpFileContext.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikManagedUIProxy/Controllers.h"
#include "DravikUI/PaneControlSites.h"
#include "pal/path.h"
#include "pal/test/file_holder_process.h"
#include "win/restartmanager.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;
using Lockers = std::vector<std::pair<std::wstring, std::wstring>>;

class ServerAppProxyFiles : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
    void TearDown() override {
        for (CMainFrame* frame : CDvw32App::GetMainFrames()) {
            UIModuleProxy::Instance().RemoveMainFrame(frame);
            frame->DestroyWindow();
        }
        UIModuleProxy::Instance().SetMainWindow(nullptr);
        DVPDMWorkMix::Instance().Disconnect();
        dvpdm::test::setCanConnect(false);
        dvpdm::test::setWorkMixEnabled(false);
        dvpdm::test::clearScript();
        StartupTest::TearDown();
    }

    static DravikServerAppProxy& kernel() { return *DravikServerAppProxy::Instance(); }
    static std::vector<std::string> failures() { return dvlog::test::capturedAt(7); }
};

// --- who holds a file ---

TEST_F(ServerAppProxyFiles, AChildHoldingAFileOpenOrLockedIsNamedOnceAndThisProgramNever) {
    for (const char* how : {"open", "lock"}) {
        SCOPED_TRACE(how);
        const auto held = writeFile(std::string("held-") + how + ".grb", "held");
        // This program holds it too: it is not among those that hold it against itself.
        std::ifstream mine(held);
        EXPECT_TRUE(kernel().GetFileLockers(pal::path::fromNative(held).c_str()).empty())
            << "only this program";
        pal::test::FileHolderProcess child(held, how);
        ASSERT_TRUE(child.started());
        const Lockers lockers = kernel().GetFileLockers(pal::path::fromNative(held).c_str());
        ASSERT_EQ(lockers.size(), 1u);
        EXPECT_EQ(lockers[0].first, L"dvpal_file_holder");
        const std::wstring& program = lockers[0].second;
        ASSERT_GE(program.size(), 17u);
        EXPECT_EQ(program.substr(program.size() - 17), L"dvpal_file_holder") << "its program's path";
    }
    EXPECT_TRUE(failures().empty());
}

TEST_F(ServerAppProxyFiles, ASaveRefusedForAFileAnotherProgramLocksNamesThatProgram) {
    const auto held = writeFile("locked.grb", "held");
    pal::test::FileHolderProcess child(held, "lock");
    ASSERT_TRUE(child.started());
    CDvw32Doc* document =
        Dravik::DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Drawing, L"Plate");
    std::wstring error;
    EXPECT_FALSE(document->DoFileSave(pal::path::fromNative(held), &error));
    const Lockers lockers = kernel().GetFileLockers(pal::path::fromNative(held).c_str());
    ASSERT_EQ(lockers.size(), 1u);
    const std::wstring named = L": the file is locked by dvpal_file_holder (" + lockers[0].second + L").";
    ASSERT_GE(error.size(), named.size()) << pal::text::toUtf8(error);
    EXPECT_EQ(error.substr(error.size() - named.size()), named) << pal::text::toUtf8(error);
    EXPECT_EQ(pal::test::readFile(held), "held");
}

TEST_F(ServerAppProxyFiles, NobodyHoldingAFileAndBadNamesGiveAnEmptyListWithoutALogLine) {
    const std::wstring closed = pal::path::fromNative(writeFile("closed.grb", "closed"));
    const std::wstring longName = L"C:\\" + std::wstring(10'000, L'n') + L".grb";
    const struct {
        const char* what;
        const wchar_t* path;
    } cases[] = {
        {"a closed file", closed.c_str()},
        {"a missing file", L"C:\\missing.grb"},
        {"an empty name", L""},
        {"no name", nullptr},
        {"a name of 10,000 characters", longName.c_str()},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(kernel().GetFileLockers(c.path).empty()) << c.what;
        EXPECT_TRUE(failures().empty()) << c.what;
    }
}

TEST_F(ServerAppProxyFiles, ASessionThatWillNotStartLogsItsOwnCodeAndGivesAnEmptyList) {
    // The restart manager the program uses, every session of it taken.
    HMODULE module = LoadLibraryW(L"rstrtmgr.dll");
    ASSERT_NE(module, nullptr);
    const auto start = reinterpret_cast<RmStartSessionFn>(GetProcAddress(module, "RmStartSession"));
    const auto end = reinterpret_cast<RmEndSessionFn>(GetProcAddress(module, "RmEndSession"));
    ASSERT_TRUE(start && end);
    std::vector<DWORD> taken;
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1]{};
    while (start(&session, 0, key) == ERROR_SUCCESS)
        taken.push_back(session);

    const auto held = writeFile("held.grb", "held");
    pal::test::FileHolderProcess child(held, "open");
    ASSERT_TRUE(child.started());
    const std::wstring path = pal::path::fromNative(held);
    EXPECT_TRUE(kernel().GetFileLockers(path.c_str()).empty());
    const std::vector<std::string> logged = failures();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], "Failed to register restart manager session resources for the file \"" +
                             pal::text::toUtf8(path) + "\": 0x00000071");
    for (DWORD s : taken)
        end(s);
    EXPECT_EQ(kernel().GetFileLockers(path.c_str()).size(), 1u) << "sessions free again";
    FreeLibrary(module);
}

// --- the document file dialog ---

TEST_F(ServerAppProxyFiles, TheDocumentDialogProposesANameByTheRulesOnlyForANewDocumentBeingSaved) {
    auto& documents = Dravik::DocumentManager::Instance();
    CDvw32Doc* fresh = documents.CreateDocument(Dravik::DocumentKind::Drawing, L"Plate");
    CDvw32Doc* saved = documents.CreateDocument(Dravik::DocumentKind::Drawing, L"Rib.grb");
    saved->SetPathName(L"C:\\Work\\Rib.grb", FALSE);
    writeFile("drive_c/Work/Open.grb", "open");
    struct Case {
        const char* what;
        CDvw32Doc* active;
        bool open;
        std::vector<int> buttons; // answered before the last one (10000, then the rules box's)
        const wchar_t* lastAnswer;
        const wchar_t* chosen; // the file name chosen; null: cancelled
    };
    const Case cases[] = {
        {"no active document: the name given", nullptr, false, {}, nullptr, L"Plate.grb"},
        {"a new document: the rules' name", fresh, false, {}, nullptr, L"Plate-001.grb"},
        {"the rules accepted: the next name", fresh, false, {10000, IDOK}, nullptr, L"Plate-002.grb"},
        {"the rules declined: the name stays", fresh, false, {10000, IDCANCEL}, nullptr, L"Plate-001.grb"},
        {"a saved document keeps its name", saved, false, {}, nullptr, L"Rib.grb"},
        {"a saved document's rules give a new name", saved, false, {10000, IDOK}, nullptr, L"Rib-002.grb"},
        {"an open dialog has no rules", fresh, true, {}, L"C:\\Work\\Open.grb", L"Open.grb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        documents.SetActiveDocument(c.active);
        FileDialogInfo info = FileDialogInfo::ForDocuments(
            c.open, c.active == saved ? L"C:\\Work\\Rib.grb" : L"Plate", nullptr);
        info.defaultExtension = L"grb";
        std::unique_ptr<CDVFileDialog> dialog;
        kernel().CreateDocumentFileDialog(dialog, info, nullptr);
        ASSERT_NE(dynamic_cast<DocumentFileDialog*>(dialog.get()), nullptr);
        for (int button : c.buttons)
            answer(button);
        if (c.lastAnswer != nullptr)
            answer(std::wstring(c.lastAnswer));
        else
            answer(IDOK);
        ASSERT_EQ(dialog->DoModal(), IDOK);
        EXPECT_STREQ(dialog->GetFileName(), c.chosen);
    }
    documents.SetActiveDocument(nullptr);
}

TEST_F(ServerAppProxyFiles, ADocumentTitleOf10000CharactersIsCutToTheDialogsBuffer) {
    auto& documents = Dravik::DocumentManager::Instance();
    const std::wstring title(10'000, L't');
    documents.SetActiveDocument(documents.CreateDocument(Dravik::DocumentKind::Drawing, title));
    std::unique_ptr<CDVFileDialog> dialog;
    kernel().CreateDocumentFileDialog(dialog, FileDialogInfo::ForDocuments(false, L"", nullptr), nullptr);
    answer(IDCANCEL);
    EXPECT_EQ(dialog->DoModal(), IDCANCEL);
    EXPECT_EQ(dialog->GetInitialName(), (title + L"-001").substr(0, 4095));
    documents.SetActiveDocument(nullptr);
}

// --- the profile the PDM system names ---

// A category the PDM system's profile lacks, and one whose data is of another version.
class MissingItem : public DravikProfileItem {
public:
    MissingItem() : DravikProfileItem(L"Missing category", L"Missing") {}
};
class OldItem : public DravikProfileItem {
public:
    OldItem() : DravikProfileItem(L"Old category", L"Old") {}
    int LoadState() override { return VersionNote; }
};

class SettingsEvents : public TypedApplicationEventListener<1043> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs& args) override { flags.push_back(args.Flags); }
    std::vector<unsigned> flags;
};

TEST_F(ServerAppProxyFiles, AConnectionAppliesThePdmProfileWithOneWarningForItsFailingItemsAndEvent1043) {
    // The profile the PDM system names, made from the live settings.
    GetSettings().autoSaveMinutes = 25;
    GetSettings().fontFolder = L"C:\\Fonts of the profile";
    DravikProfileManager::SaveState();
    ASSERT_TRUE(DravikProfileManager::Copy(nullptr, L"Design office"));
    GetSettings().autoSaveMinutes = 5;
    GetSettings().fontFolder = L"C:\\Fonts of this computer";
    MissingItem missing;
    OldItem old;
    SettingsEvents events;
    dvpdm::test::setIntegrationProfile(0, L"Design office", L"design-office-2");
    dvpdm::test::setCanConnect(true);
    app->SetOrsaProfileFileName(L"design-office-1");

    answer(IDOK);
    app->OnOrsaConnect(); // the kernel tells the callback object of the connection
    const std::vector<std::string> shown = boxes();
    ASSERT_EQ(shown.size(), 1u) << "one warning";
    EXPECT_EQ(shown[0], "Some settings of the profile could not be applied:\nMissing\nOld - applied in part");
    EXPECT_EQ(events.flags, std::vector<unsigned>{16});
    EXPECT_EQ(GetSettings().autoSaveMinutes, 25) << "the profile's settings";
    EXPECT_EQ(GetSettings().fontFolder, L"C:\\Fonts of this computer") << "this computer's folders stay";
    EXPECT_EQ(app->GetOrsaProfileFileName(), L"design-office-2");
    EXPECT_EQ(dvpdm::test::calls(), std::vector<std::wstring>{L"profile design-office-1"});
    EXPECT_EQ(SHXFONT::FontPath(), TemplateFolderToFullPath(GetSettings().templateFolder.c_str()));
    const std::vector<std::string> progress = dvlog::test::capturedAt(5);
    EXPECT_EQ(std::count(progress.begin(), progress.end(),
                         "Applying profile \"Design office\" specified in PDM integration parameters..."),
              1);
    EXPECT_TRUE(DVPDMWorkMix::Instance().IsConnected());
    EXPECT_TRUE(Dravik::UI::AssemblyStructureControlSite::Instance().IsOrsaConnected())
        << "the application's own handler ran";
}

TEST_F(ServerAppProxyFiles, NoProfileIsAppliedWhenIgnoredNoneIsNamedOrItCannotBeCopied) {
    app->SetRegistryKey(L"Dravik");
    app->SetRegistryProfileName(L"DravikCad");
    SettingsEvents events;
    struct Case {
        const char* what;
        bool ignored;
        long code;
        const wchar_t* profile;
        std::vector<std::string> logged;
    };
    const Case cases[] = {
        {"ignored", true, 0, L"Design office", {}},
        {"none named", false, 1, L"", {}},
        {"not copied",
         false,
         0,
         L"Nowhere",
         {"Cannot copy the profile \"Nowhere\": it does not exist",
          "Failed to copy profile \"Nowhere\" specified in PDM integration parameters"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dvlog::test::clearCapture();
        ASSERT_TRUE(app->WriteProfileInt(L"Debug", L"IgnoreOrsaProfile", c.ignored ? 1 : 0));
        dvpdm::test::setIntegrationProfile(c.code, c.profile, L"changed");
        dvpdm::test::setWorkMixEnabled(true);
        kernel().OnChangeOrsaConnectionState(true);
        dvpdm::test::setWorkMixEnabled(false);
        kernel().OnChangeOrsaConnectionState(false);
        EXPECT_EQ(failures(), c.logged);
        EXPECT_TRUE(boxes().empty());
        EXPECT_EQ(app->GetOrsaProfileFileName(), L"");
    }
    EXPECT_TRUE(events.flags.empty());
}

// --- new settings ---

TEST_F(ServerAppProxyFiles, NewSettingsGiveTheirPrototypeFolderToTheRibbonFramesNewDocumentPage) {
    writeProductIni("[SETTINGS]\nDefaultStateFile=DefaultState.xml\n");
    ASSERT_TRUE(start());
    ASSERT_EQ(CDvw32App::GetMainFrames().size(), 1u);
    CMainFrame* frame = CDvw32App::GetMainFrames().front();
    ASSERT_TRUE(frame->IsRibbonMode());
    DVRibbonNewDocumentBackstagePage* page = frame->GetDVRibbonBar()->GetNewDocumentPage(true);
    ASSERT_NE(page, nullptr);
    const auto offered = [page] {
        return DravikManagedUIProxy::PrototypesController::GetPrototypes(page->m_hWnd);
    };
    writeFile("drive_c/Office prototypes/sheet.grb", "sheet");
    const std::vector<std::wstring> before = offered();

    kernel().OnChangeSettings(GetSettings());
    EXPECT_EQ(offered(), before) << "nothing changed, nothing told";
    NativeSettings::Settings changed = GetSettings();
    changed.templateFolder = L"C:\\Office prototypes";
    kernel().OnChangeSettings(changed);
    ASSERT_EQ(offered().size(), 1u);
    EXPECT_EQ(fs::path(offered()[0]).filename(), "sheet.grb");
}

// --- where the kernel asks ---

TEST_F(ServerAppProxyFiles, TheKernelsFaultReportGoesToTheProductsBugReportAddress) {
    writeProductIni("[SETTINGS]\nBugReportAddress=faults@example.org\n");
    GenerateDumpFileContext context;
    EXPECT_EQ(context.GetReportAddress(), L"faults@example.org");
}

} // namespace
} // namespace dvapp::test
