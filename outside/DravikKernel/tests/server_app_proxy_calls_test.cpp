// Where the kernel itself reaches the callback object about files, profiles and settings: the
// save prompt asks it for the document dialog, new settings are shown to it before they replace
// the old, a PDM connection made or ended is told to it, and the fault report asks it where to go.
// And about documents and dialogs: a document's modified or read-only state that changes, the
// active document that is let go, and a dialog's help button.
#include "DravikKernel/DVFileDialog.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikDialog.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/GenerateDumpFileContext.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/test/hooks.h"

#include "DVPDMProxy/WorkMix.h"
#include "DVPDMProxy/test/hooks.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include "afxres.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class RecordingProxy : public DravikServerAppProxy {
public:
    void CreateDocumentFileDialog(std::unique_ptr<CDVFileDialog>& dialog, const FileDialogInfo& description,
                                  CWnd* parent) override {
        asked.push_back(description);
        if (makeDialogs)
            DravikServerAppProxy::CreateDocumentFileDialog(dialog, description, parent);
    }
    void OnChangeSettings(const NativeSettings::Settings& settings) override {
        newMinutes.push_back(settings.autoSaveMinutes);
        currentMinutes.push_back(GetSettings().autoSaveMinutes);
    }
    void OnChangeOrsaConnectionState(bool connected) override { connections.push_back(connected); }
    std::wstring GetBugReportAddress() override { return L"faults@example.org"; }
    void OnChangeDocumentState(CDvw32Doc* document) override { stateChanges.push_back(document); }
    void OnDocumentDeactivated(CDvw32Doc* document, int reason) override {
        deactivated.emplace_back(document, reason);
    }
    UINT GetHelpContextId() override { return helpId; }
    void ShowCurrentHelpTopic() override { ++helpShown; }

    bool makeDialogs = true;
    std::vector<CDvw32Doc*> stateChanges;
    std::vector<std::pair<CDvw32Doc*, int>> deactivated;
    UINT helpId = 0;
    int helpShown = 0;
    std::vector<FileDialogInfo> asked;
    std::vector<int> newMinutes, currentMinutes;
    std::vector<bool> connections;
};

class KernelCalls : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
    }
    void TearDown() override {
        proxy.reset();
        DVPDMWorkMix::Instance().Disconnect();
        dvpdm::test::setCanConnect(false);
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    std::unique_ptr<RecordingProxy> proxy = std::make_unique<RecordingProxy>();
};

TEST_F(KernelCalls, TheSavePromptOfANewDocumentIsTheApplicationsDocumentDialog) {
    CDvw32Doc* document =
        Dravik::DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Drawing, L"Plate");
    ASSERT_NE(document, nullptr);
    const fs::path target = root() / "drive_c" / "plate.grb";
    answer(pal::path::fromNative(target));
    ASSERT_TRUE(document->DoFileSaveAs());
    ASSERT_EQ(proxy->asked.size(), 1u);
    EXPECT_FALSE(proxy->asked[0].open);
    EXPECT_EQ(proxy->asked[0].fileName, L"Plate") << "it opens with the document's title";
    EXPECT_EQ(proxy->asked[0].flags & OFN_OVERWRITEPROMPT, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
    EXPECT_TRUE(fs::is_regular_file(target));
    EXPECT_EQ(std::wstring(document->GetPathName()), pal::path::fromNative(target));

    // An application that gives no dialog: nothing is saved, nothing is asked.
    proxy->makeDialogs = false;
    EXPECT_FALSE(document->DoFileSaveCopy(nullptr));
    EXPECT_EQ(proxy->asked.size(), 2u);
}

TEST_F(KernelCalls, NewSettingsAreShownToTheApplicationBeforeTheyReplaceTheOld) {
    GetSettings().autoSaveMinutes = 25;
    ASSERT_TRUE(SaveSettings());
    GetSettings().autoSaveMinutes = 5;
    ASSERT_TRUE(LoadSettings());
    EXPECT_EQ(proxy->newMinutes, std::vector<int>{25});
    EXPECT_EQ(proxy->currentMinutes, std::vector<int>{5});
    EXPECT_EQ(GetSettings().autoSaveMinutes, 25);
}

TEST_F(KernelCalls, APdmConnectionMadeOrEndedIsToldOnceAndNotAfterTheApplicationWent) {
    dvpdm::test::setCanConnect(true);
    ASSERT_TRUE(DVPDMWorkMix::Instance().Connect(1, L""));
    DVPDMWorkMix::Instance().Disconnect();
    EXPECT_EQ(proxy->connections, (std::vector<bool>{true, false}));
    proxy.reset();
    EXPECT_TRUE(DVPDMWorkMix::Instance().Connect(1, L"")) << "no one to tell, nothing breaks";
}

TEST_F(KernelCalls, TheFaultReportGoesWhereTheApplicationSays) {
    GenerateDumpFileContext context;
    EXPECT_EQ(context.GetReportAddress(), L"faults@example.org");
    proxy.reset();
    EXPECT_EQ(context.GetReportAddress(), L"");
}

// Each step of the kernel's own and how many state changes the application hears of after it:
// one for each change of the modified or read-only mark, none for a step that changes neither.
TEST_F(KernelCalls, TheApplicationHearsOfEachChangeOfADocumentsModifiedOrReadOnlyMarkOnce) {
    CDvw32Doc* document =
        Dravik::DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Drawing, L"Plate");
    ASSERT_NE(document, nullptr);
    const fs::path target = root() / "drive_c" / "plate.grb";
    struct Step {
        const char* what;
        std::function<void()> run;
        std::size_t heard;
    };
    const Step steps[] = {
        {"an edit marks it modified",
         [&] {
             document->PushAction(Dravik::DVAction{L"edit", {}});
         },
         1},
        {"a second edit changes no mark",
         [&] {
             document->PushAction(Dravik::DVAction{L"again", {}});
         },
         1},
        {"an undo leaves it modified", [&] { document->Cont2D()->Undo(); }, 1},
        {"made read-only", [&] { document->SetReadOnly(true); }, 2},
        {"read-only again", [&] { document->SetReadOnly(true); }, 2},
        {"a save under a new name clears both marks",
         [&] { document->DoFileSave(pal::path::fromNative(target), nullptr); }, 3},
        {"marked unmodified when it is", [&] { document->SetModifiedFlag(FALSE); }, 3},
        {"marked modified", [&] { document->SetModifiedFlag(TRUE); }, 4},
        {"opened again from its file",
         [&] { document->OnOpenDocument(pal::path::fromNative(target).c_str()); }, 5},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(proxy->stateChanges.size(), step.heard) << step.what;
    }
    for (CDvw32Doc* heard : proxy->stateChanges)
        EXPECT_EQ(heard, document);
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(document->IsReadOnly());

    proxy.reset();
    document->SetModifiedFlag(TRUE);
    EXPECT_TRUE(document->IsModified()) << "no application to tell, the mark is set all the same";
}

TEST_F(KernelCalls, TheDocumentThatStopsBeingActiveIsLetGoBeforeTheNextIsNamed) {
    Dravik::DocumentManager& manager = Dravik::DocumentManager::Instance();
    CDvw32Doc* first = manager.CreateDocument(Dravik::DocumentKind::Drawing, L"First");
    CDvw32Doc* second = manager.CreateDocument(Dravik::DocumentKind::Drawing, L"Second");
    ASSERT_TRUE(first && second);
    manager.SetActiveDocument(first);
    EXPECT_TRUE(proxy->deactivated.empty()) << "none was active before";
    manager.SetActiveDocument(first);
    manager.SetActiveDocument(second);
    using Heard = std::vector<std::pair<CDvw32Doc*, int>>;
    EXPECT_EQ(proxy->deactivated, (Heard{{first, 1}})) << "once, not for the repeated activation";
    ASSERT_TRUE(manager.CloseDocument(second));
    EXPECT_EQ(proxy->deactivated, (Heard{{first, 1}, {second, 1}})) << "the active one closed";
    ASSERT_TRUE(manager.CloseDocument(first));
    EXPECT_EQ(proxy->deactivated.size(), 2u) << "an inactive document closing lets nothing go";
}

TEST_F(KernelCalls, AKernelDialogsHelpButtonShowsTheApplicationsCurrentTopic) {
    CDravikDialog dialog;
    const auto pressHelp = [&] { return dialog.OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr); };
    EXPECT_TRUE(pressHelp());
    EXPECT_EQ(proxy->helpShown, 0) << "no topic held, nothing to show";
    proxy->helpId = 4711;
    EXPECT_TRUE(pressHelp());
    EXPECT_EQ(proxy->helpShown, 1);
    proxy.reset();
    EXPECT_TRUE(pressHelp()) << "without an application the button does nothing";
}

TEST_F(KernelCalls, TheBaseDialogIsAPlainFileDialogWithTheDescriptionsInitialName) {
    DravikServerAppProxy& base = *proxy;
    std::unique_ptr<CDVFileDialog> dialog;
    FileDialogInfo info;
    info.fileName = L"C:\\Work\\plate.grb";
    base.DravikServerAppProxy::CreateDocumentFileDialog(dialog, info, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->IsOpenDialog());
    EXPECT_EQ(dialog->GetInitialName(), L"C:\\Work\\plate.grb");
    const std::wstring longName(10'000, L'n');
    dialog->SetInitialName(longName.c_str());
    EXPECT_EQ(dialog->GetInitialName(), longName.substr(0, 4095)) << "cut to the dialog's buffer";
    dialog->SetInitialName(nullptr);
    EXPECT_EQ(dialog->GetInitialName(), L"");
}

} // namespace
