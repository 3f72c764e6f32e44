// The open road every caller shares: a drawing opens (once), a work session opens its drawings,
// and every other path ends in the message its failure calls for; for a recent entry the
// person's "No" keeps it.
#include "main_initialisation_fixture.h"

#include "app/DocumentOpening.h"
#include "app/RecentFileList.h"
#include "frame/MainFrame.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/WorkSession.h"
#include "pal/text.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

using DocumentOpening = MainInitialisation;

// A message of the table with the file it names in place of its '@'.
std::string naming(std::string box, const fs::path& file) {
    if (const size_t at = box.find('@'); at != std::string::npos)
        box.replace(at, 1, file.string());
    return box;
}

TEST_F(DocumentOpening, AFailedOpenSaysWhyAndARecentEntryIsKeptOnlyWhenThePersonSaysNo) {
    writeFile("notes.grb", "not a drawing\n");
    writeFile("notes.txt", "not a drawing either\n");
    const std::string good = pal::test::readFile(binDir() / "Samples" / "sample-a3.grb");
    writeFile("cut.grb", good.substr(0, good.size() / 2));
    ASSERT_TRUE(start());
    CDVRecentFileList* list = app->GetRecentFileList();
    ASSERT_NE(list, nullptr);
    const std::string format = pal::text::toUtf8(DVLoadString(10046));
    struct Case {
        const char* file;
        bool recent;
        int reply;
        std::string box; // empty: no box
        bool staysRecent;
    };
    const Case cases[] = {
        {"missing.grb", false, IDOK, "File not found", false},
        {"missing.grb", true, IDNO, "File not found, remove from recent?", true},
        {"missing.grb", true, IDYES, "File not found, remove from recent?", false},
        {"nofolder/missing.grb", false, IDOK, "File not found", false},
        {"notes.txt", false, IDOK, format, false},
        {"notes.txt", true, IDNO, "Format not supported, remove from recent?", true},
        {"notes.grb", false, IDOK, format, false},
        {"cut.grb", true, IDNO, "Cannot open \"@\": the file is cut short.\nRemove from recent?", true},
        {"plan.gri", false, IDOK, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.recent ? " (recent)" : ""));
        const std::wstring path = pal::path::fromNative(root() / c.file);
        if (c.recent)
            list->Add(path.c_str());
        const size_t before = boxes().size();
        if (!c.box.empty())
            answer(c.reply);
        // As the recent-file list's command opens: a refused entry is removed unless kept.
        const BOOL handled = c.recent ? app->OnRecentFileCommand(ID_FILE_MRU_FILE1) : TRUE;
        if (!c.recent) {
            EXPECT_EQ(app->OpenDocumentFile(path.c_str()), nullptr);
        }
        EXPECT_TRUE(handled);
        const std::vector<std::string> shown = boxes();
        const std::vector<std::string> added(shown.begin() + static_cast<long>(before), shown.end());
        EXPECT_EQ(added, c.box.empty() ? std::vector<std::string>{}
                                       : std::vector<std::string>{naming(c.box, root() / c.file)});
        EXPECT_EQ(list->Contains(path.c_str()), c.staysRecent);
        EXPECT_FALSE(list->GetKeepMark());
        if (list->Contains(path.c_str()))
            list->Remove(0);
    }
    EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty());
}

TEST_F(DocumentOpening, ABadDrawingFailsWithTheTablesMessageAndStaysAsItWas) {
    const std::string good = pal::test::readFile(binDir() / "Samples" / "sample-a3.grb");
    const std::string huge =
        pal::test::readFile(sourcePath("outside/DravikKernel/tests/fixtures/huge-count.grb"));
    ASSERT_FALSE(huge.empty());
    ASSERT_TRUE(start());
    const std::string format = pal::text::toUtf8(DVLoadString(10046));
    struct Case {
        const char* file;
        std::string bytes;
        std::string box;
        bool unreadable = false;
        bool folder = false; // a folder where the drawing should be
        bool fifo = false;   // a FIFO, which would hold a reader until someone wrote to it
    };
    std::string newer = good;
    newer[8] = '\x7f'; // the format version, far past what this program reads
    // A drawing the reader finds wrong is told what is wrong, in place of an unknown error.
    const Case cases[] = {
        {"empty.grb", "", format},
        {"foreign.grb", "\x89PNG\r\n\x1a\n and then an image", format},
        {"newer.grb", newer, "Cannot open \"@\": the file was written by a newer version of the program."},
        {"truncated.grb", good.substr(0, good.size() - 7), "Cannot open \"@\": the file is cut short."},
        {"huge-count.grb", huge, "Cannot open \"@\": the file is damaged."},
        {"unreadable.grb", good, "Access denied", true},
        {"folder.grb", "", "I/O error", false, true},
        {"pipe.grb", "", "I/O error", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path native = c.folder || c.fifo ? root() / c.file : writeFile(c.file, c.bytes);
        if (c.folder)
            fs::create_directories(native);
        if (c.fifo) {
            ASSERT_EQ(::mkfifo(native.c_str(), 0600), 0);
        }
        if (c.unreadable) {
            fs::permissions(native, fs::perms::none);
            if (::access(native.c_str(), R_OK) == 0) {
                fs::permissions(native, fs::perms::owner_read | fs::perms::owner_write);
                continue; // the super-user reads anything
            }
        }
        const size_t before = boxes().size();
        answer(IDOK);
        EXPECT_EQ(OpenDocumentByPath(pal::path::fromNative(native).c_str()), nullptr);
        const std::vector<std::string> shown = boxes();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(before), shown.end()),
                  std::vector<std::string>{naming(c.box, native)});
        if (c.folder) {
            EXPECT_TRUE(fs::is_empty(native));
            continue;
        }
        if (c.fifo) {
            EXPECT_TRUE(fs::is_fifo(native));
            continue;
        }
        fs::permissions(native, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(pal::test::readFile(native), c.bytes) << "the file is left as it was";
    }
    EXPECT_TRUE(DocumentManager::Instance().GetDocuments().empty());
}

TEST_F(DocumentOpening, ADrawingOpensOnceAndAWorkSessionOpensItsDrawingsShowingItsActiveOne) {
    const std::wstring first = copySample("first.grb");
    const std::wstring second = copySample("second.grb");
    ASSERT_TRUE(start());
    CDocument* opened = OpenDocumentByPath(first.c_str());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(OpenDocumentByPath(first.c_str()), opened) << "an open drawing is found, not opened twice";
    EXPECT_TRUE(app->GetRecentFileList()->Contains(first.c_str()));

    Dravik::WorkSession session{L"Bench", {first, second}, 1, false};
    wchar_t temp[MAX_PATH + 1] = L"";
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    struct Case {
        std::wstring file;
        bool removed; // a session handed over in the temporary folder is not left behind
    };
    for (const Case& c : {Case{pal::path::fromNative(root() / "bench.grs"), false},
                          Case{std::wstring(temp) + L"handed.grs", true}}) {
        SCOPED_TRACE(pal::text::toUtf8(c.file));
        std::wstring error;
        ASSERT_TRUE(Dravik::SaveWorkSession(c.file, session, &error)) << pal::text::toUtf8(error);
        CDocument* shown = OpenDocumentByPath(c.file.c_str());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(std::wstring(shown->GetPathName().GetString()), second);
        EXPECT_EQ(DocumentManager::Instance().GetDocuments().size(), 2u);
        EXPECT_EQ(fs::exists(pal::path::toNative(c.file)), !c.removed);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DocumentOpening, FilesDroppedOnTheFrameOutsideAnyDrawingOpenTogether) {
    const std::wstring first = copySample("first.grb"), second = copySample("second.grb");
    ASSERT_TRUE(start());
    CMainFrame* frame = onlyFrame();
    ASSERT_NE(frame, nullptr);
    std::u16string names;
    for (const std::wstring& path : {first, second}) {
        for (const wchar_t c : path)
            names += static_cast<char16_t>(c);
        names += u'\0';
    }
    names += u'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(char16_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    ASSERT_NE(block, nullptr);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = POINT{5, 5};
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(char16_t));
    ::GlobalUnlock(block);
    frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    std::vector<std::wstring> opened;
    for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
        opened.emplace_back(document->GetPathName());
    EXPECT_EQ(opened, (std::vector<std::wstring>{first, second}));
    EXPECT_TRUE(boxes().empty());
}

} // namespace
} // namespace dvapp::test
