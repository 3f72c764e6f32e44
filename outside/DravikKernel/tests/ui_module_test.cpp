#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class UIModule : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dvtrace::test::clear();
    }
    void TearDown() override {
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    // The proxy never looks inside a frame; distinct addresses are all it needs.
    static CFrameWnd* frame(int& slot) { return reinterpret_cast<CFrameWnd*>(&slot); }

    std::vector<CFrameWnd*> enumerate() {
        std::vector<CFrameWnd*> seen;
        UIModuleProxy::Instance().ForEachMainFrame([&](CFrameWnd* f) { seen.push_back(f); });
        return seen;
    }
};

TEST_F(UIModule, FramesAreEnumeratedOnceEachInTheOrderAdded) {
    int a = 0, b = 0, c = 0;
    auto& ui = UIModuleProxy::Instance();
    EXPECT_TRUE(enumerate().empty());
    ui.AddMainFrame(frame(a));
    ui.AddMainFrame(frame(b));
    ui.AddMainFrame(frame(a));
    ui.AddMainFrame(nullptr);
    ui.AddMainFrame(frame(c));
    EXPECT_EQ(enumerate(), (std::vector<CFrameWnd*>{frame(a), frame(b), frame(c)}));
    ui.RemoveMainFrame(frame(b));
    ui.RemoveMainFrame(frame(b));
    EXPECT_EQ(enumerate(), (std::vector<CFrameWnd*>{frame(a), frame(c)}));
}

TEST_F(UIModule, AnActionMayRemoveFramesWhileTheEnumerationRuns) {
    int a = 0, b = 0;
    auto& ui = UIModuleProxy::Instance();
    ui.AddMainFrame(frame(a));
    ui.AddMainFrame(frame(b));
    std::vector<CFrameWnd*> seen;
    ui.ForEachMainFrame([&](CFrameWnd* f) {
        seen.push_back(f);
        ui.RemoveMainFrame(f);
    });
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(enumerate().empty());
}

TEST_F(UIModule, TheMainWindowIsWhatTheUIModuleSet) {
    int w = 0;
    EXPECT_EQ(UIModuleProxy::Instance().GetMainWindow(), nullptr);
    UIModuleProxy::Instance().SetMainWindow(reinterpret_cast<CWnd*>(&w));
    EXPECT_EQ(UIModuleProxy::Instance().GetMainWindow(), reinterpret_cast<CWnd*>(&w));
    dvkernel::test::reset();
    EXPECT_EQ(UIModuleProxy::Instance().GetMainWindow(), nullptr);
}

TEST_F(UIModule, TheThreeDModuleReportsTheHighestKindAttached) {
    EXPECT_EQ(CDVCom_Is3D::Instance(), nullptr);
    CDVCom_Is3D::Attach(CDVCom_Is3D::SolidEdit);
    ASSERT_NE(CDVCom_Is3D::Instance(), nullptr);
    EXPECT_EQ(CDVCom_Is3D::Instance()->GetKind(), 1);
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    EXPECT_EQ(CDVCom_Is3D::Instance()->GetKind(), 2);
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
    EXPECT_EQ(CDVCom_Is3D::Instance()->GetKind(), 1);
    CDVCom_Is3D::Detach(CDVCom_Is3D::SolidEdit);
    EXPECT_EQ(CDVCom_Is3D::Instance(), nullptr);
}

// What the shell tells the 3D module is written down; a command state a module answers exactly
// takes the place of the available/not available answer.
TEST_F(UIModule, TheThreeDModuleHearsTheShellAndAnswersCommandStatesAsDeclared) {
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    CDVCom_Is3D* module = CDVCom_Is3D::Instance();
    module->RefreshWindows();
    module->SetShellDisabled(true);
    module->SetShellDisabled(false);
    EXPECT_EQ(
        dvtrace::test::callsOf("DravikKernel"),
        (std::vector<std::string>{"CDVCom_Is3D::RefreshWindows()", "CDVCom_Is3D::SetShellDisabled(true)",
                                  "CDVCom_Is3D::SetShellDisabled(false)"}));
    struct Case {
        UINT id;
        int result;
        int state;
    };
    CDVCom_Is3D::SetCommandAvailable(1200, false);
    CDVCom_Is3D::SetCommandStateAnswer(1201, 0, 0);
    CDVCom_Is3D::SetCommandStateAnswer(1202, 7, 2);
    CDVCom_Is3D::SetCommandAvailable(1202, false); // the exact answer stays first
    for (const Case& c : {Case{1199, 1, 0}, Case{1200, 0, 1}, Case{1201, 0, 0}, Case{1202, 7, 2}}) {
        SCOPED_TRACE(c.id);
        int state = -1;
        EXPECT_EQ(module->GetCommandState(c.id, state), c.result);
        EXPECT_EQ(state, c.state);
    }
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
}

// A command bar's failure to get a resource is counted by the UI module until the kernel resets.
TEST_F(UIModule, ResourceFailuresAreCountedUntilTheReset) {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    EXPECT_EQ(ui.GetResourceFailureCount(), 0);
    ui.OnResourceNotAvailable();
    ui.OnResourceNotAvailable();
    EXPECT_EQ(ui.GetResourceFailureCount(), 2);
    dvkernel::test::reset();
    EXPECT_EQ(ui.GetResourceFailureCount(), 0);
}

TEST_F(UIModule, TheEditModuleIsLoadedWhileAttached) {
    EXPECT_FALSE(EditModuleProxy::Instance().IsLoaded());
    EditModuleProxy::Attach();
    EXPECT_TRUE(EditModuleProxy::Instance().IsLoaded());
    EditModuleProxy::Detach();
    EditModuleProxy::Detach();
    EXPECT_FALSE(EditModuleProxy::Instance().IsLoaded());
}

TEST_F(UIModule, ADocumentFromAMissingPrototypeIsAskedForAndNoneIsMade) {
    EXPECT_EQ(DocumentManager::Instance().CreateAndSaveNewDocumentFromPrototype(L"C:\\p\\part.dvp", {}),
              nullptr);
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel"),
              (std::vector<std::string>{"CreateAndSaveNewDocumentFromPrototype(C:\\p\\part.dvp)"}));
}

} // namespace

#include "DravikKernel/ApplicationCommand.h"

namespace {

TEST(ApplicationCommands, IdentifiersParseWithOrWithoutBracesAndNothingElse) {
    const auto id = Dravik::UniqueIdentifier::TryParse(L"{F5CBECA0-3A0A-11CF-A3A7-004F56009C20}");
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(id->bytes[0], 0xF5);
    EXPECT_EQ(id->bytes[15], 0x20);
    EXPECT_EQ(Dravik::UniqueIdentifier::TryParse(L"f5cbeca0-3a0a-11cf-a3a7-004f56009c20"), id);
    for (const wchar_t* bad :
         {L"", L"{F5CBECA0-3A0A-11CF-A3A7-004F56009C2}", L"F5CBECA0x3A0A-11CF-A3A7-004F56009C20",
          L"{G5CBECA0-3A0A-11CF-A3A7-004F56009C20}", L"DVOPT"})
        EXPECT_FALSE(Dravik::UniqueIdentifier::TryParse(bad).has_value());
}

TEST(ApplicationCommands, IdentityIsTheAddOnAndTheInternalNumber) {
    const auto key = *Dravik::UniqueIdentifier::TryParse(L"{F5CBECA0-3A0A-11CF-A3A7-004F56009C20}");
    const ApplicationCommand managed(7, key, false);
    EXPECT_TRUE(managed.IsEqualID(ApplicationCommand(7, key, true)));
    EXPECT_FALSE(managed.IsEqualID(ApplicationCommand(8, key, false)));
    const CDVAppCommand classic(L"DVOPT", 7, false);
    EXPECT_TRUE(classic.IsEqualID(CDVAppCommand(L"DVOPT", 7, true)));
    EXPECT_FALSE(classic.IsEqualID(CDVAppCommand(L"dvopt", 7, false)));
    EXPECT_FALSE(classic.IsEqualID(managed));
    EXPECT_FALSE(managed.IsEqualID(classic));
}

} // namespace
