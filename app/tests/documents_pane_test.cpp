// The Documents pane of the running application: its window is the documents browser, showing
// the configurations that are open with their libraries and drawings, and a drawing's row
// opens the drawing.
#include "main_initialisation_fixture.h"

#include "docbrowser/DocumentRecords.h"
#include "docbrowser/DocumentsMenuDlg.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "pal/path.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

namespace dvapp::test {
namespace {

using DocumentsPane = MainInitialisation;
using namespace DocumentsMenu;

CXTPReportRow* rowNamed(StructureView& view, const std::wstring& name) {
    for (const auto& row : view.GetRows())
        if (CXTPReportRecordItem* item = row->GetRecord()->GetItem(0);
            item != nullptr && std::wstring(item->GetCaption(nullptr)) == name)
            return row.get();
    return nullptr;
}

TEST_F(DocumentsPane, ShowsTheBundledConfigurationsDrawingsAndEnterOnADrawingOpensIt) {
    ASSERT_TRUE(start());
    auto* panel = dynamic_cast<DocumentsMenuDlg*>(app->GetDrawMenuWindow(true));
    ASSERT_NE(panel, nullptr) << "the Documents pane's window is the documents browser";
    ASSERT_NE(panel->GetSafeHwnd(), nullptr);
    EXPECT_EQ(app->GetDrawMenuWindow(false), panel) << "made once";

    // The configuration opens as the installed-configurations menu opens it.
    const std::wstring samples = pal::path::fromNative(binDir() / "Configurations" / "Samples.tws");
    ASSERT_NE(OpenConfigurationFile(GlobalCfgGroup(), samples, nullptr), nullptr);
    StructureView& tree = panel->GetStructure().GetShownView();
    ASSERT_NE(rowNamed(tree, L"Samples"), nullptr) << "an opened configuration shows at once";
    rowNamed(tree, L"Samples")->SetExpanded(TRUE);
    ASSERT_NE(rowNamed(tree, L"Sample drawings"), nullptr);
    rowNamed(tree, L"Sample drawings")->SetExpanded(TRUE);
    CXTPReportRow* drawing = rowNamed(tree, L"sample-a3.grb");
    ASSERT_NE(drawing, nullptr);
    EXPECT_TRUE(panel->IsLibrariesGroupExpanded(GlobalCfgGroup().GetAt(0))) << "kept for the next fill";

    panel->SetWindowPos(nullptr, 0, 0, 300, 240, SWP_NOZORDER);
    tree.SelectRow(drawing);
    tree.SetFocusedRow(drawing);
    tree.UpdateWindow();
    pal::test::keepSnapshot(pal::test::snapshot(panel->GetSafeHwnd()), "documents_pane_samples");

    ASSERT_TRUE(Dravik::DocumentManager::Instance().GetDocuments().empty());
    tree.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(Dravik::DocumentManager::Instance().GetDocuments().size(), 1u) << "Enter opens the drawing";

    GlobalCfgGroup().Clear();
    EXPECT_EQ(tree.GetRowCount(), 0) << "closed configurations leave the tree";
}

} // namespace
} // namespace dvapp::test
