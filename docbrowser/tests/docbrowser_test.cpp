#include "DravikKernel/DocumentsMenu.h"
#include "docbrowser/SaveAsRevision.h"

#include "afxwin.h"

#include "pal/test/recording_cmd_ui.h"

#include <gtest/gtest.h>

namespace {

using pal::test::RecordingCmdUI;

TEST(DocBrowser, AnEmptyGlobalGroupHasNoConfigurations) {
    EXPECT_EQ(DocumentsMenu::GlobalCfgGroup().GetCount(), 0u);
    EXPECT_EQ(DocumentsMenu::GlobalCfgGroup().GetAt(0), nullptr);
    EXPECT_EQ(&DocumentsMenu::GlobalCfgGroup(), &DocumentsMenu::GlobalCfgGroup());
}

TEST(DocBrowser, SaveAsRevisionIsDisabledWithoutTheWorkMix) {
    CDvw32Doc* const document = reinterpret_cast<CDvw32Doc*>(0x1000);
    RecordingCmdUI item;
    UpdateDocumentSaveAsRevision(document, &item);
    EXPECT_EQ(item.enabled, 0);
    EXPECT_EQ(DocumentSaveAsRevision(document), 0);
    EXPECT_EQ(DocumentSaveAsRevision(nullptr), 0);
}

} // namespace
