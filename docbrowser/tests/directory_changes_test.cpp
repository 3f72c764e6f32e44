#include "docbrowser/DirectoryChanges.h"

#include "pal/path.h"
#include "pal/test/eventually.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace DocumentsMenu;
namespace fs = std::filesystem;

std::string nameOf(const SharedPathName& path) {
    return fs::path(pal::path::toNative(path.asCString())).filename().string();
}

// Writes down what it hears, and on which thread.
class Observer : public DirectoryChangesHandler {
public:
    Observer(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    void OnFileAdded(const SharedPathName& path) override { note("added " + nameOf(path)); }
    void OnFileRemoved(const SharedPathName& path) override { note("removed " + nameOf(path)); }
    void OnFileNameChanged(const SharedPathName& from, const SharedPathName& to) override {
        note("renamed " + nameOf(from) + " " + nameOf(to));
    }
    void OnReadDirectoryChangesError(DWORD error, const SharedPathName&) override {
        note("error " + std::to_string(error));
    }
    void OnWatchStopped(const SharedPathName&) override { note("stopped"); }

    bool offThread = false;

private:
    void note(const std::string& what) {
        offThread = offThread || std::this_thread::get_id() != owner_;
        log_.push_back(name_ + " " + what);
    }
    std::string name_;
    std::vector<std::string>& log_;
    std::thread::id owner_ = std::this_thread::get_id();
};

class FolderWatch : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        folder = root() / "library";
        watched = SharedPathName(pal::path::fromNative(folder));
        fs::create_directories(folder);
        watcher = std::make_unique<CDirectoryChangeWatcher>(true, 225);
    }
    void TearDown() override {
        watcher.reset();
        SandboxTest::TearDown();
    }
    // Runs the loop until the log holds `count` lines.
    bool heard(std::size_t count) {
        return pal::test::eventually([&] {
            pal::test::pump();
            return log.size() >= count;
        });
    }
    static void touch(const fs::path& file) { std::ofstream(file).put('x'); }

    fs::path folder;
    SharedPathName watched;
    std::unique_ptr<CDirectoryChangeWatcher> watcher;
    std::vector<std::string> log;
};

TEST_F(FolderWatch, ObserversOfOneFolderShareItsWatchAndHearInAttachmentOrder) {
    Observer first("first", log), second("second", log);
    WatchDirectory(*watcher, watched, &first);
    WatchDirectory(*watcher, watched, &second);
    WatchDirectory(*watcher, watched, &first); // attached once only
    EXPECT_EQ(watcher->GetWatchedDirectoryCount(), 1);
    ASSERT_NE(first.GetDispatcher(), nullptr);
    EXPECT_EQ(first.GetDispatcher(), second.GetDispatcher());
    EXPECT_EQ(first.GetDispatcher()->GetObservers().size(), 2u);

    struct Step {
        std::function<void()> act;
        std::vector<std::string> heard;
    };
    const Step steps[] = {
        {[&] { touch(folder / "bolt.grb"); }, {"first added bolt.grb", "second added bolt.grb"}},
        {[&] { fs::rename(folder / "bolt.grb", folder / "nut.grb"); },
         {"first renamed bolt.grb nut.grb", "second renamed bolt.grb nut.grb"}},
        {[&] { fs::rename(folder / "nut.grb", root() / "nut.grb"); },
         {"first removed nut.grb", "second removed nut.grb"}},
        {[&] { fs::rename(root() / "nut.grb", folder / "screw.grb"); },
         {"first added screw.grb", "second added screw.grb"}},
        {[&] { fs::remove(folder / "screw.grb"); }, {"first removed screw.grb", "second removed screw.grb"}},
        {[&] { fs::create_directory(folder / "sub"); }, {"first added sub", "second added sub"}},
    };
    for (const Step& step : steps) {
        log.clear();
        step.act();
        ASSERT_TRUE(heard(step.heard.size()));
        pal::test::pump();
        EXPECT_EQ(log, step.heard);
    }
    EXPECT_FALSE(first.offThread || second.offThread) << "told on the thread that made the watcher";
}

TEST_F(FolderWatch, ADetachedOrDestroyedObserverHearsNothingMore) {
    Observer kept("kept", log);
    auto gone = std::make_unique<Observer>("gone", log);
    Observer detached("detached", log);
    for (Observer* o : {&kept, gone.get(), &detached})
        WatchDirectory(*watcher, watched, o);
    detached.Detach();
    gone.reset();
    EXPECT_EQ(detached.GetDispatcher(), nullptr);
    touch(folder / "a.grb");
    ASSERT_TRUE(heard(1));
    pal::test::pump();
    EXPECT_EQ(log, std::vector<std::string>{"kept added a.grb"});

    // The folder goes out of the watch: its observers are left unattached, and their later
    // destruction does nothing more.
    log.clear();
    UnwatchDirectory(*watcher, watched);
    EXPECT_EQ(log, std::vector<std::string>{"kept stopped"});
    EXPECT_EQ(kept.GetDispatcher(), nullptr);
    EXPECT_EQ(watcher->GetWatchedDirectoryCount(), 0);
}

// An observer leaving while the folder's news is told, or moving to another folder, leaves no
// one told twice, skipped or pointing at an observer that is gone.
TEST_F(FolderWatch, ObserversMayLeaveWhileTheyAreToldAndFollowOneFolderAtATime) {
    struct Leaving : Observer {
        using Observer::Observer;
        DirectoryChangesHandler* leaves = nullptr;
        void OnFileAdded(const SharedPathName& path) override {
            Observer::OnFileAdded(path);
            if (leaves != nullptr)
                leaves->Detach();
        }
    };
    Leaving first("first", log), second("second", log), third("third", log);
    first.leaves = &second;
    second.leaves = &second;
    for (Observer* o : {&first, &second, &third})
        WatchDirectory(*watcher, watched, o);
    touch(folder / "a.grb");
    ASSERT_TRUE(heard(2));
    pal::test::pump();
    EXPECT_EQ(log, (std::vector<std::string>{"first added a.grb", "third added a.grb"}));

    const fs::path elsewhere = root() / "elsewhere";
    fs::create_directories(elsewhere);
    auto moving = std::make_unique<Observer>("moving", log);
    WatchDirectory(*watcher, watched, moving.get());
    DirectoryChangeDispatcher* before = moving->GetDispatcher();
    WatchDirectory(*watcher, SharedPathName(pal::path::fromNative(elsewhere)), moving.get());
    EXPECT_NE(moving->GetDispatcher(), before);
    EXPECT_EQ(before->GetObservers(), (std::vector<DirectoryChangesHandler*>{&first, &third}));
    moving.reset();
    log.clear();
    touch(folder / "b.grb");
    ASSERT_TRUE(heard(2));
    pal::test::pump();
    EXPECT_EQ(log, (std::vector<std::string>{"first added b.grb", "third added b.grb"}));
}

TEST_F(FolderWatch, AFolderWatchedForAnotherHandlerAttachesNothing) {
    struct Foreign : CDirectoryChangeHandler {};
    auto* foreign = new Foreign;
    ASSERT_EQ(
        watcher->WatchDirectory(watched, FILE_NOTIFY_CHANGE_FILE_NAME, foreign, FALSE, nullptr, nullptr),
        ERROR_SUCCESS);
    foreign->Release();
    Observer observer("observer", log);
    WatchDirectory(*watcher, watched, &observer);
    EXPECT_EQ(observer.GetDispatcher(), nullptr);
    EXPECT_EQ(watcher->FindDirectoryChangeHandler(watched), foreign);
}

TEST_F(FolderWatch, AMissingFolderIsReportedWhenTheWatchStarts) {
    struct Started : CDirectoryChangeHandler {
        DWORD error = ~0u;
        void OnWatchStarted(DWORD e, const SharedPathName&) override { error = e; }
    };
    auto* handler = new Started;
    const SharedPathName missing(pal::path::fromNative(root() / "missing"));
    EXPECT_EQ(
        watcher->WatchDirectory(missing, FILE_NOTIFY_CHANGE_FILE_NAME, handler, FALSE, nullptr, nullptr),
        ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(handler->error, ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(watcher->IsWatchingDirectory(missing));
    handler->Release();
}

// Far more changes than the system's queue holds: each arrives as an addition, or the folder is
// told that it lost some. Never silence.
TEST_F(FolderWatch, AFloodOfChangesArrivesOrIsReportedAsLost) {
    Observer observer("o", log);
    WatchDirectory(*watcher, watched, &observer);
    constexpr int kFiles = 20000;
    for (int i = 0; i < kFiles; ++i)
        std::ofstream(folder / ("d" + std::to_string(i) + ".grb")).flush();
    std::size_t added = 0, errors = 0;
    ASSERT_TRUE(pal::test::eventually([&] {
        pal::test::pump();
        added = std::count_if(log.begin(), log.end(),
                              [](const std::string& l) { return l.starts_with("o added"); });
        errors = std::count(log.begin(), log.end(), "o error " + std::to_string(ERROR_NOTIFY_ENUM_DIR));
        return added == kFiles || errors > 0;
    }));
    EXPECT_TRUE(added == kFiles || errors > 0) << added << " added, " << errors << " errors";
    EXPECT_FALSE(observer.offThread);
}

} // namespace
