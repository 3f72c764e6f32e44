// Auto-save at idle time: which drawings are due, what a save that fails leads to, and the
// window that names the drawing being saved.
#include "main_initialisation_fixture.h"

#include "app/AutoSaveDialog.h"
#include "app/DocumentPipeline.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/Settings.h"
#include "frame/MainFrame.h"
#include "pal/test/hooks.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kInterval = 10 * 60;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AutoSave : public MainInitialisation {
protected:
    CDvw32Doc* open(const std::string& name) {
        const std::wstring path = copySample(name);
        return dynamic_cast<CDvw32Doc*>(app->OpenDocumentFile(path.c_str()));
    }
    static void change(CDvw32Doc* document) {
        document->Cont2D()->AddElement({Dravik::ElementKind::Line, 0, 0, L"", {0, 0, 10, 10}, {}});
    }
    static fs::path fileOf(CDvw32Doc* document) {
        return pal::path::toNative(std::wstring(document->GetPathName()));
    }
    // Started with auto-save on at its interval and "plan.grb" open and changed.
    CDvw32Doc* startWithChangedPlan() {
        if (!start())
            return nullptr;
        GetSettings().autoSave = true;
        GetSettings().autoSaveMinutes = static_cast<int>(kInterval / 60);
        CDvw32Doc* document = onlyFrame() != nullptr ? open("plan.grb") : nullptr;
        if (document != nullptr)
            change(document);
        return document;
    }
};

TEST_F(AutoSave, OnlyModifiedDrawingsWithAFileWhoseLastAutoSaveIsAnIntervalAgoAreSaved) {
    ASSERT_TRUE(start());
    GetSettings().autoSave = true;
    GetSettings().autoSaveMinutes = static_cast<int>(kInterval / 60);
    const std::int64_t now = _time64(nullptr);
    struct Case {
        const char* what;
        bool modified;
        std::int64_t lastSaved; // seconds before now
        bool readOnly;
        bool saved;
        bool inCommand = false;
    };
    const Case cases[] = {
        {"due", true, kInterval + 5, false, true},
        {"unchanged", false, kInterval + 5, false, false},
        {"saved a moment ago", true, 5, false, false},
        {"read-only", true, kInterval + 5, true, false},
        {"inside a command", true, kInterval + 5, false, false, true},
    };
    std::vector<std::pair<CDvw32Doc*, std::string>> documents;
    for (const Case& c : cases) {
        CDvw32Doc* document = open(std::string(c.what) + ".grb");
        ASSERT_NE(document, nullptr);
        if (c.modified)
            change(document);
        document->SetLastAutoSaveTime(now - c.lastSaved);
        document->SetReadOnly(c.readOnly);
        if (c.inCommand)
            document->BeginCommand(L"Line");
        documents.emplace_back(document, bytesOf(fileOf(document)));
    }
    // A new drawing never saved has nowhere to go.
    auto* fresh = dynamic_cast<CDvw32Doc*>(CreateDocumentFromPrototype(0));
    ASSERT_NE(fresh, nullptr);
    change(fresh);

    GetSettings().autoSave = false;
    app->AutoSaveDocuments();
    for (const auto& [document, bytes] : documents)
        EXPECT_EQ(bytesOf(fileOf(document)), bytes) << "switched off";

    GetSettings().autoSave = true;
    app->AutoSaveDocuments();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        CDvw32Doc* document = documents[i].first;
        EXPECT_EQ(bytesOf(fileOf(document)) != documents[i].second, cases[i].saved);
        EXPECT_EQ(document->IsModified(), cases[i].modified && !cases[i].saved);
        if (cases[i].saved) {
            EXPECT_GE(document->GetLastAutoSaveTime(), now);
        }
    }
    for (const auto& [document, bytes] : documents)
        document->EndCommand();
    EXPECT_TRUE(fresh->IsModified());
    EXPECT_TRUE(onlyFrame()->IsWindowEnabled()) << "the frame is given back";
}

TEST_F(AutoSave, AFailedSaveWaitsTheIntervalAndIsToldOnceInAMessageBarNamingTheFile) {
    CDvw32Doc* document = startWithChangedPlan();
    ASSERT_NE(document, nullptr);
    CMainFrame* frame = onlyFrame();
    const std::string bytes = bytesOf(fileOf(document));
    const size_t bars = frame->GetMessageBarCount();

    struct Pass {
        const char* what;
        bool fails;
        std::int64_t lastSaved; // seconds before now
        bool saved;
        size_t newBars;
    };
    const Pass passes[] = {
        {"the disk is full", true, kInterval + 5, false, 1},
        {"the next idle pass does not try again", true, -1, false, 0},
        {"an interval later it fails again, told already", true, kInterval + 5, false, 0},
        {"an interval later it is saved", false, kInterval + 5, true, 0},
        {"the next failure is told again", true, kInterval + 5, false, 1},
    };
    for (const Pass& p : passes) {
        SCOPED_TRACE(p.what);
        if (p.lastSaved >= 0)
            document->SetLastAutoSaveTime(_time64(nullptr) - p.lastSaved);
        change(document);
        const std::string before = bytesOf(fileOf(document));
        if (p.fails)
            pal::test::injectWriteFailure(pal::test::WriteStep::DiskFull, ENOSPC);
        const size_t shown = frame->GetMessageBarCount();
        app->AutoSaveDocuments();
        pal::test::clearWriteFailure();
        EXPECT_EQ(bytesOf(fileOf(document)) != before, p.saved);
        EXPECT_EQ(document->IsModified(), !p.saved);
        EXPECT_EQ(frame->GetMessageBarCount() - shown, p.newBars);
        EXPECT_TRUE(frame->IsWindowEnabled());
    }
    EXPECT_EQ(frame->GetMessageBarCount() - bars, 2u);
    EXPECT_TRUE(boxes().empty()) << "no box stops the person at idle time";
}

// The display tells of an exposed window by a message sent from its own thread: one that waited
// out the window's second would leave the window blank for all of it.
TEST_F(AutoSave, AMessageSentFromAnotherThreadWhileTheWindowIsUpIsAnsweredAtOnce) {
    CDvw32Doc* document = startWithChangedPlan();
    ASSERT_NE(document, nullptr);
    CMainFrame* frame = onlyFrame();
    document->SetLastAutoSaveTime(_time64(nullptr) - kInterval - 5);
    const fs::path file = fileOf(document);
    const std::string before = bytesOf(file);
    const HWND target = frame->m_hWnd;

    using Clock = std::chrono::steady_clock;
    std::atomic<bool> done{false};
    Clock::time_point savedAt, answeredAt;
    std::thread sender([&] {
        while (bytesOf(file) == before)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        savedAt = Clock::now();
        // Well inside the window's second, once whatever the save left to paint is painted.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::SendMessageW(target, WM_NULL, 0, 0);
        answeredAt = Clock::now();
        done = true;
    });
    app->AutoSaveDocuments();
    const Clock::time_point returnedAt = Clock::now();
    // A save slower than the window's second leaves no wait to answer in; the loop answers then.
    while (!done)
        pal::test::pump();
    sender.join();
    if (returnedAt - savedAt > std::chrono::milliseconds(600)) {
        EXPECT_LT(answeredAt, returnedAt) << "answered while the window was up";
    }
    EXPECT_FALSE(document->IsModified());
}

TEST_F(AutoSave, TheWindowNamesTheDrawingByItsShortTitleCentredOnTheFrame) {
    ASSERT_TRUE(start());
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    CAutoSaveDialog dialog(L"plan", frame);
    ASSERT_TRUE(dialog.Create(CAutoSaveDialog::IDD, frame));
    dialog.ShowWindow(SW_SHOW);
    dialog.SetDocumentTitle(L"Опорная плита");
    pal::test::pump();
    CString text;
    dialog.GetDlgItem(CAutoSaveDialog::kTitleText)->GetWindowText(text);
    EXPECT_EQ(std::wstring(text), L"Опорная плита");
    CRect outer, inner;
    ::GetWindowRect(frame->m_hWnd, &outer);
    dialog.GetWindowRect(&inner);
    EXPECT_LE(std::abs(outer.CenterPoint().x - inner.CenterPoint().x), 1);
    EXPECT_LE(std::abs(outer.CenterPoint().y - inner.CenterPoint().y), 1);
    pal::test::keepSnapshot(dialog.m_hWnd, "auto_save_window");
    dialog.DestroyWindow();
}

} // namespace
} // namespace dvapp::test
