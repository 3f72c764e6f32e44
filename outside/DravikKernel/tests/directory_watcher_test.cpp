#include "DravikKernel/DirectoryChangeWatcher.h"
#include "DravikKernel/KernelHelpers.h"

#include "pal/path.h"
#include "pal/test/eventually.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class Recording : public CDirectoryChangeHandler {
public:
    explicit Recording(std::vector<std::string>& log) : log_(log) {}
    void OnFileAdded(const SharedPathName& p) override { note("added", p); }
    void OnFileRemoved(const SharedPathName& p) override { note("removed", p); }
    void OnFileModified(const SharedPathName& p) override { note("modified", p); }
    void OnFileNameChanged(const SharedPathName& a, const SharedPathName& b) override {
        log_.push_back("renamed " + name(a) + " " + name(b));
    }

private:
    static std::string name(const SharedPathName& p) {
        return pal::path::toNative(p.asCString()).filename().string();
    }
    void note(const char* what, const SharedPathName& p) {
        log_.push_back(std::string(what) + " " + name(p));
    }
    std::vector<std::string>& log_;
};

using DirectoryWatcher = pal::test::SandboxTest;

// What a watch follows: its change mask and its file-name patterns.
TEST_F(DirectoryWatcher, AWatchTellsWhatItsMaskAndPatternsFollow) {
    const fs::path folder = root() / "watched";
    fs::create_directories(folder);
    std::vector<std::string> log;
    CDirectoryChangeWatcher watcher(true, 0);
    auto* handler = new Recording(log);
    const SharedPathName watched(pal::path::fromNative(folder));
    ASSERT_EQ(watcher.WatchDirectory(watched, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE,
                                     handler, FALSE, L"*.grb", L"_*"),
              ERROR_SUCCESS);
    handler->Release();
    const auto write = [&](const char* name) { std::ofstream(folder / name) << "x"; };

    struct Step {
        std::function<void()> act;
        std::vector<std::string> heard;
    };
    const Step steps[] = {
        {[&] { write("a.grb"); }, {"added a.grb", "modified a.grb"}},
        {[&] {
             write("notes.txt");
             write("_draft.grb");
             fs::create_directory(folder / "sub.grb");
             write("marker.grb");
         },
         {"added marker.grb", "modified marker.grb"}},
        {[&] { fs::rename(folder / "a.grb", folder / "a.txt"); }, {"removed a.grb"}},
        {[&] { fs::rename(folder / "notes.txt", folder / "b.grb"); }, {"added b.grb"}},
        {[&] { fs::rename(folder / "b.grb", folder / "c.grb"); }, {"renamed b.grb c.grb"}},
    };
    for (const Step& step : steps) {
        log.clear();
        step.act();
        ASSERT_TRUE(pal::test::eventually([&] {
            pal::test::pump();
            return log.size() >= step.heard.size();
        }));
        EXPECT_EQ(log, step.heard);
    }
    EXPECT_TRUE(watcher.UnwatchDirectory(watched));
    EXPECT_FALSE(watcher.UnwatchDirectory(watched));
}

TEST_F(DirectoryWatcher, FileSystemEntryTypes) {
    writeFile("file.grb", "x");
    fs::create_directories(root() / "folder");
    fs::create_symlink(root() / "folder", root() / "link");
    struct Case {
        std::wstring path;
        Dravik::FileSystemEntryType type;
    };
    const Case cases[] = {
        {pal::path::fromNative(root() / "file.grb"), Dravik::FileSystemEntryType::File},
        {pal::path::fromNative(root() / "folder"), Dravik::FileSystemEntryType::Directory},
        {pal::path::fromNative(root() / "link"), Dravik::FileSystemEntryType::Directory},
        {pal::path::fromNative(root() / "missing"), Dravik::FileSystemEntryType::None},
        {L"", Dravik::FileSystemEntryType::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dravik::GetFileSystemEntryType(c.path.c_str()), c.type)
            << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(Dravik::GetFileSystemEntryType(nullptr), Dravik::FileSystemEntryType::None);
}

} // namespace
