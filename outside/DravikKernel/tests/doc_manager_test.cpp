// The application's document manager as a settings-profile item.
#include "DravikKernel/DVFileDialog.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/View.h"
#include "DravikKernel/WSDocManager.h"
#include "DravikKernel/test/hooks.h"

#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

class DocManager : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        DravikProfileManager::SetApplicationKey(L"Software\\Dravik\\DravikCad 18");
    }
    void TearDown() override {
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
};

TEST_F(DocManager, ItsStateTravelsWithTheProfile) {
    CWSDocManager manager;
    EXPECT_EQ(manager.LoadState(), DravikProfileItem::NotFound) << "a new profile holds nothing yet";
    EXPECT_EQ(manager.GetLastFolder(), L"");
    EXPECT_EQ(manager.GetFilterIndex(), 1);

    manager.SetLastFolder(L"C:\\Проекты\\Стенд");
    manager.SetFilterIndex(3);
    ASSERT_EQ(manager.SaveState(), 0);
    // Kept as a profile: the state of this moment under the name "Стенд".
    ASSERT_TRUE(DravikProfileManager::Copy(nullptr, L"Стенд"));

    manager.SetLastFolder(L"/elsewhere");
    manager.SetFilterIndex(2);
    ASSERT_EQ(manager.SaveState(), 0);
    manager.SetLastFolder(L"changed in memory");
    EXPECT_EQ(manager.LoadState(), DravikProfileItem::Loaded);
    EXPECT_EQ(manager.GetLastFolder(), L"/elsewhere");
    EXPECT_EQ(manager.GetFilterIndex(), 2);

    // Switching to the stored profile makes every item load it, the manager among them.
    ASSERT_TRUE(DravikProfileManager::Apply(L"Стенд"));
    EXPECT_EQ(manager.GetLastFolder(), L"C:\\Проекты\\Стенд");
    EXPECT_EQ(manager.GetFilterIndex(), 3);

    // It is one of the profile's items while it lives.
    bool listed = false;
    DravikProfileManager::ForEachItem([&](DravikProfileItem& item) {
        listed = listed || &item == &manager;
        return true;
    });
    EXPECT_TRUE(listed);
}

constexpr UINT kDrawingResource = 510;
constexpr UINT kAppResource = 511;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"},
                                        {kAppResource, L"Dravik"}};
const pal::mfc::StringTable kTable(&kStrings, kStrings, sizeof kStrings / sizeof kStrings[0]);

// An application whose document manager is the kernel's, as the shell installs it.
class Shell : public CWinApp {
public:
    BOOL InitInstance() override {
        m_pDocManager = new CWSDocManager;
        AddDocTemplate(CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                                              RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CDVView)));
        auto* main = new CMDIFrameWnd;
        if (!main->LoadFrame(kAppResource))
            return FALSE;
        m_pMainWnd = main;
        return TRUE;
    }
    CWSDocManager& manager() const { return *static_cast<CWSDocManager*>(m_pDocManager); }
};

TEST_F(DocManager, OpeningMovesTheLastFolderUntilTheFlagIsCleared) {
    const fs::path folder = root() / "drawings";
    fs::create_directories(folder);
    fs::copy_file(binDir() / "Samples/sample-a3.grb", folder / "a.grb");
    fs::copy_file(binDir() / "Samples/sample-a3.grb", root() / "b.grb");
    Shell app;
    {
        pal::test::AppRun run(app);
        ASSERT_TRUE(run.init());
        ASSERT_NE(app.OpenDocumentFile(pal::text::fromUtf8((folder / "a.grb").string()).c_str()), nullptr);
        EXPECT_EQ(app.manager().GetLastFolder(), pal::text::fromUtf8(folder.string()));
        // What the shell does at shut-down: from then on nothing moves.
        app.manager().m_bTrackFolders = FALSE;
        ASSERT_NE(app.OpenDocumentFile(pal::text::fromUtf8((root() / "b.grb").string()).c_str()), nullptr);
        EXPECT_EQ(app.manager().GetLastFolder(), pal::text::fromUtf8(folder.string()));
        // A file that does not open leaves the folder too.
        app.manager().m_bTrackFolders = TRUE;
        EXPECT_EQ(app.OpenDocumentFile(pal::text::fromUtf8((root() / "none.grb").string()).c_str()), nullptr);
        EXPECT_EQ(app.manager().GetLastFolder(), pal::text::fromUtf8(folder.string()));
        app.CloseAllDocuments(TRUE);
    }
}

} // namespace

// Whatever the brand, the shell's template offers the kernel's drawings in the open and save
// dialogs, so a name typed without an extension is saved as a drawing.
TEST_F(DocManager, EveryDrawingTemplateNamesTheFileTypeOfTheDialogs) {
    for (UINT id : {992u, 993u, 994u, 1000u}) {
        SCOPED_TRACE(id);
        std::unique_ptr<CDVDocTemplate> drawings(CDVDocTemplate::Create(
            id, RUNTIME_CLASS(CDvw32Doc), RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CDVView)));
        CString name, extension;
        EXPECT_TRUE(drawings->GetDocString(name, CDocTemplate::filterName));
        EXPECT_TRUE(drawings->GetDocString(extension, CDocTemplate::filterExt));
        EXPECT_STREQ(name.GetString(), L"Drawings (*.grb)");
        EXPECT_STREQ(extension.GetString(), L".grb");
        const FileDialogInfo open = FileDialogInfo::ForDocuments(true, L"", drawings.get());
        EXPECT_EQ(open.filter, L"Drawings (*.grb)|*.grb|All Files (*.*)|*.*||");
        EXPECT_EQ(open.defaultExtension, L"grb");
    }
}
