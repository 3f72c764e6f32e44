// Opening, saving and closing drawings as a person does it, from the keys and the commands of
// the ribbon and the menus: which commands are on with none, one and two drawings open, the
// whole road of a change from the open dialog to the closed window, and the saves that fail
// without harming the file that was there.
#include "fixture_table.h"
#include "main_initialisation_fixture.h"

#include "app/DocumentPipeline.h"
#include "app/NamedCommandTable.h"
#include "app/RecentFileList.h"

#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/test/hooks.h"
#include "frame/MainFrame.h"
#include "pal/test/hooks.h"
#include "pal/text.h"

#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

// An item that only notes what its update made of it.
class EnabledProbe : public CCmdUI {
public:
    explicit EnabledProbe(UINT id) { m_nID = id; }
    void Enable(BOOL on) override {
        enabled = on != FALSE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    bool enabled = false;
};

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DocumentPipeline : public MainInitialisation {
protected:
    // The loop's own handling of what the queue holds, keys through the application's
    // pre-translation.
    void drain() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }

    // The state the bars give the command's control at their idle update.
    bool isEnabled(UINT id) {
        EnabledProbe probe(id);
        probe.DoUpdate(onlyFrame(), TRUE);
        return probe.enabled;
    }

    void press(int key, std::initializer_list<int> modifiers = {VK_CONTROL}) {
        for (int modifier : modifiers)
            pal::test::keyDown(modifier);
        pal::test::pressKey(key);
        for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
            pal::test::keyUp(*it);
        drain();
    }

    CDvw32Doc* active() { return app->GetActiveDocument(); }

    static std::wstring designer(CDvw32Doc* document) { return document->Cont2D()->GetTextValue(L"$razrab"); }
    static void setDesigner(CDvw32Doc* document, const std::wstring& name) {
        Dravik::DVDocument* content = document->Cont2D();
        content->start_undo_block(L"Title block");
        content->create_text_var(L"$razrab", content->FindVariable(L"$razrab"), Dravik::QuoteText(name), -1,
                                 0);
        content->end_undo_block();
    }
};

// Every edition, as its Config names it.
class DocumentPipelineOfEdition : public DocumentPipeline, public ::testing::WithParamInterface<const char*> {
protected:
    // The edition started with its main frame, and two drawings to open.
    void startEdition() {
        writeProductIni(std::string("[SETTINGS]\nConfig=") + GetParam() +
                        "\nLanguage=Eng\nDefaultStateFile=DefaultState.xml\n");
        first = copySample("first.grb");
        second = copySample("second.grb");
        ASSERT_TRUE(start());
        ASSERT_NE(onlyFrame(), nullptr);
    }
    void TearDown() override {
        dvpdm::test::setWorkMixEnabled(false);
        DocumentPipeline::TearDown();
    }
    std::wstring first, second;
};

TEST_P(DocumentPipelineOfEdition, TheFileCommandsFollowTheirUpdatesWithNoneOneAndTwoDrawingsOpen) {
    ASSERT_NO_FATAL_FAILURE(startEdition());
    // Open, new, save, save as, copy, close, save all, undo, redo, and the two PDM saves (of the
    // drawing, of every version of an assembly).
    const UINT ids[] = {57601, 1001, 57600, 1065, 1029, 1093, 2054, 1200, 1201, 1115, 1117, 1765, 1657};
    struct Case {
        const char* state;
        std::function<void()> arrange;
        std::vector<bool> expected;
    };
    const Case cases[] = {
        {"none",
         [] {},
         {true, true, true, true, false, false, false, false, true, false, false, false, false}},
        {"none, the PDM system connected",
         [] { dvpdm::test::setWorkMixEnabled(true); },
         {true, true, true, true, false, false, false, false, true, false, false, false, false}},
        {"one, the PDM system connected",
         [&] { ASSERT_NE(app->OpenDocumentFile(first.c_str()), nullptr); },
         {true, true, true, true, true, true, true, true, true, false, false, true, true}},
        {"one",
         [&] { dvpdm::test::setWorkMixEnabled(false); },
         {true, true, true, true, true, true, true, true, true, false, false, false, false}},
        {"two, the active one changed",
         [&] {
             ASSERT_NE(app->OpenDocumentFile(second.c_str()), nullptr);
             setDesigner(active(), L"Петров");
         },
         {true, true, true, true, true, true, true, true, true, true, false, false, false}},
        {"two, the change undone",
         [&] { active()->OnEditUndo(); },
         {true, true, true, true, true, true, true, true, true, false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        c.arrange();
        std::vector<bool> got;
        for (UINT id : ids)
            got.push_back(isEnabled(id));
        EXPECT_EQ(got, c.expected);
    }
}

// Every named command the edition registers, by its update (none: enabled), with none, one and
// two drawings open, against its golden table: "edition name id none one two".
TEST_P(DocumentPipelineOfEdition, EveryNamedCommandFollowsItsUpdateWithNoneOneAndTwoDrawingsOpen) {
    ASSERT_NO_FATAL_FAILURE(startEdition());
    const auto registered = dvkernel::test::registeredCommands();
    std::vector<const NamedCommandRecord*> rows;
    for (const NamedCommandRecord& row : NamedCommandTable())
        if (row.name != nullptr && registered.count(row.registrationId) != 0)
            rows.push_back(&row);
    std::vector<std::string> states(rows.size());
    const std::function<void()> steps[] = {
        [] {},
        [&] { ASSERT_NE(app->OpenDocumentFile(first.c_str()), nullptr); },
        [&] { ASSERT_NE(app->OpenDocumentFile(second.c_str()), nullptr); },
    };
    for (const auto& step : steps) {
        step();
        for (size_t i = 0; i < rows.size(); ++i)
            states[i] += isEnabled(static_cast<UINT>(rows[i]->registrationId)) ? " 1" : " 0";
    }
    std::vector<std::string> got, expected;
    for (size_t i = 0; i < rows.size(); ++i)
        got.push_back(pal::text::toUtf8(rows[i]->name) + " " + std::to_string(rows[i]->registrationId) +
                      states[i]);
    for (const FixtureRow& row : readFixtureTable("named_command_updates.txt"))
        if (!row.empty() && row[0] == GetParam())
            expected.push_back(joinFixtureRow(FixtureRow(row.begin() + 1, row.end())));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(Editions, DocumentPipelineOfEdition,
                         ::testing::Values("2D", "SE", "3D", "GS", "GS3D", "Alder", "AlderAdministrator",
                                           "Birch"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

TEST_F(DocumentPipeline, AChangeGoesFromTheOpenDialogThroughUndoRedoSaveAndSaveAsToTheClosedWindow) {
    const std::wstring path = copySample("plan.grb");
    const fs::path copy = root() / "plan-copy.grb";
    ASSERT_TRUE(start());
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    frame->SetForegroundWindow();
    frame->SetFocus();
    drain();

    answer(path); // the open dialog
    press('O');
    CDvw32Doc* document = active();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(std::wstring(document->GetPathName()), path);
    const std::wstring before = designer(document);
    const std::string bytes = bytesOf(pal::path::toNative(path));

    setDesigner(document, L"Сидоров");
    press('Z');
    EXPECT_EQ(designer(document), before);
    press('Y');
    EXPECT_EQ(designer(document), L"Сидоров");
    EXPECT_EQ(bytesOf(pal::path::toNative(path)), bytes) << "nothing saved yet";

    press('S');
    EXPECT_FALSE(document->IsModified());
    std::wstring error;
    auto saved = Dravik::grb::LoadFile(path, &error);
    ASSERT_NE(saved, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(saved->Cont2D()->GetTextValue(L"$razrab"), L"Сидоров");

    setDesigner(document, L"Иванов");
    answer(pal::path::fromNative(copy)); // the save-as dialog
    press('S', {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(std::wstring(document->GetPathName()), pal::path::fromNative(copy));
    EXPECT_FALSE(document->IsModified());
    auto again = Dravik::grb::LoadFile(pal::path::fromNative(copy), &error);
    ASSERT_NE(again, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(again->Cont2D()->GetTextValue(L"$razrab"), L"Иванов");
    EXPECT_EQ(Dravik::grb::LoadFile(path, &error)->Cont2D()->GetTextValue(L"$razrab"), L"Сидоров");

    press(VK_F4);
    EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty());
    EXPECT_TRUE(app->GetRecentFileList()->Contains(pal::path::fromNative(copy).c_str()));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DocumentPipeline, ASaveThatCannotWriteSaysWhyKeepsTheDrawingModifiedAndTheOldFileAsItWas) {
    const fs::path folder = root() / "drawings";
    fs::create_directories(folder);
    const fs::path native = folder / "plan.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", native);
    const std::wstring path = pal::path::fromNative(native);
    ASSERT_TRUE(start());
    CDvw32Doc* document = dynamic_cast<CDvw32Doc*>(app->OpenDocumentFile(path.c_str()));
    ASSERT_NE(document, nullptr);
    const std::string bytes = bytesOf(native);
    struct Case {
        const char* what;
        std::function<void()> arrange, undo;
        const char* reason;
    };
    int lock = -1;
    const Case cases[] = {
        {"a read-only folder",
         [&] {
             fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
             // The super-user writes anywhere: the folder's refusal is what it would meet.
             if (::access(folder.c_str(), W_OK) == 0)
                 pal::test::injectWriteFailure(pal::test::WriteStep::Open, EACCES);
         },
         [&] {
             fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
             pal::test::clearWriteFailure();
         },
         "denied"},
        {"a file another program locks",
         [&] {
             lock = ::open(native.c_str(), O_RDONLY);
             ::flock(lock, LOCK_EX);
         },
         [&] { ::close(lock); }, "locked by another program"},
        {"a full disk", [] { pal::test::injectWriteFailure(pal::test::WriteStep::DiskFull, ENOSPC); },
         [] { pal::test::clearWriteFailure(); }, "space"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setDesigner(document, L"Сидоров");
        c.arrange();
        answer(IDOK);
        EXPECT_EQ(SaveDocument(document), 0);
        c.undo();
        const std::vector<std::string> shown = boxes();
        ASSERT_FALSE(shown.empty());
        EXPECT_NE(shown.back().find("plan.grb"), std::string::npos) << shown.back();
        EXPECT_NE(shown.back().find(c.reason), std::string::npos) << shown.back();
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(bytesOf(native), bytes);
        EXPECT_EQ(document->GetHoldCount(), 0);
    }
}

TEST_F(DocumentPipeline, ASaveToThePdmSystemThatStoresNothingTellsNoListenerAndLeavesNoMark) {
    const std::wstring path = copySample("plan.grb");
    ASSERT_TRUE(start());
    CDvw32Doc* document = dynamic_cast<CDvw32Doc*>(app->OpenDocumentFile(path.c_str()));
    ASSERT_NE(document, nullptr);
    struct Saved : TypedApplicationEventListener<1> {
        int heard = 0;
        void OnApplicationEvent(int, ApplicationEventArgs&) override { ++heard; }
    } saved;
    EXPECT_EQ(SaveDocumentVersionsToOrsa(document), 0);
    EXPECT_EQ(saved.heard, 0) << "nothing was stored, so nothing was saved";
    EXPECT_FALSE(document->IsFlagSet(512));
    EXPECT_EQ(document->GetHoldCount(), 0);
}

} // namespace
} // namespace dvapp::test
