// The application's library-configuration commands drive the documents browser's model.
#include "startup_fixture.h"

#include "app/CommandHandlers.h"

#include "DravikKernel/DocumentsMenu.h"
#include "pal/path.h"
#include "pal/test/recording_cmd_ui.h"

#include <filesystem>

namespace dvapp::test {
namespace {

namespace Docs = DocumentsMenu;
namespace fs = std::filesystem;

class LibraryConfigurationCommands : public StartupTest {
protected:
    void TearDown() override {
        Docs::GlobalCfgGroup().Clear();
        StartupTest::TearDown();
    }
    bool enabled() {
        pal::test::RecordingCmdUI item;
        handlers::UpdateLibraryConfigurations(&item);
        return item.enabled == 1;
    }
};

TEST_F(LibraryConfigurationCommands, NewSaveAllCloseAllAndOpenKeepAConfigurationInItsFile) {
    auto& group = Docs::GlobalCfgGroup();
    const std::wstring file = pal::path::fromNative(root() / "Parts.tws");
    EXPECT_FALSE(enabled());

    answer(file); // the file dialog of New
    EXPECT_EQ(handlers::LibraryConfigurationNew(0), 1);
    ASSERT_EQ(group.GetCount(), 1u);
    Docs::IConfiguration* made = group.GetAt(0);
    EXPECT_EQ(made->GetName(), L"Parts");
    EXPECT_TRUE(made->IsActive());
    EXPECT_TRUE(fs::is_regular_file(root() / "Parts.tws"));
    EXPECT_TRUE(enabled());

    made->AddLibrary(Docs::CreateLibrary(L"Bolts"));
    const Docs::Guid bolts = made->GetLibrary(0)->GetGuid();
    EXPECT_EQ(handlers::LibraryConfigurationSaveAll(0), 1);
    EXPECT_FALSE(made->IsModified());
    EXPECT_EQ(handlers::LibraryConfigurationCloseAll(0), 1);
    EXPECT_EQ(group.GetCount(), 0u);
    EXPECT_FALSE(enabled());

    answer(file); // the file dialog of Open
    EXPECT_EQ(handlers::LibraryConfigurationOpen(0), 1);
    ASSERT_EQ(group.GetCount(), 1u);
    ASSERT_EQ(group.GetAt(0)->GetLibrariesCount(), 1u);
    EXPECT_EQ(group.GetAt(0)->GetLibrary(0)->GetGuid(), bolts);

    answer(IDCANCEL); // New, cancelled
    EXPECT_EQ(handlers::LibraryConfigurationNew(0), 0);
    EXPECT_EQ(group.GetCount(), 1u);
}

TEST_F(LibraryConfigurationCommands, OpeningAFileThatIsNoConfigurationTellsWhichFile) {
    const fs::path file = writeFile("notes.tws", "just some notes");
    answer(pal::path::fromNative(file));
    answer(IDOK); // the message
    EXPECT_EQ(handlers::LibraryConfigurationOpen(0), 1);
    EXPECT_EQ(Docs::GlobalCfgGroup().GetCount(), 0u);
    const auto texts = boxes();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(file.string()), std::string::npos) << texts[0];
    EXPECT_EQ(pal::test::readFile(file), "just some notes");
}

} // namespace
} // namespace dvapp::test
