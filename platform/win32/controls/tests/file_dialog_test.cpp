// The file dialog: what it lists, how a person browses it, and how the responder answers it.
#include "dialog_fixture.h"

#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cwctype>
#include <filesystem>
#include <functional>
#include <memory>

namespace controlstest {
namespace {

namespace fs = std::filesystem;

class FileDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        writeFile("drive_c/Drawings/plan.dwg", "plan");
        writeFile("drive_c/Drawings/detail.dwg", "detail");
        writeFile("drive_c/Drawings/notes.txt", "notes");
        fs::create_directories(root() / "drive_c/Drawings/Old");
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter =
            L"Drawings (*.dwg)\0*.dwg\0Texts (*.txt;*.log)\0*.txt;*.log\0All files (*.*)\0*.*\0";
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = L"C:\\Drawings";
    }

    // The text of one column of the dialog's list, a row a line.
    static std::wstring listOf(HWND dialog, int column = 0) {
        std::wstring out;
        const HWND list = GetDlgItem(dialog, lst1);
        const auto n = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            wchar_t text[MAX_PATH] = L"";
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            out += std::wstring(text) + L"\n";
        }
        return out;
    }

    // The screen rectangle of a row of the list, or of a column's header.
    static RECT rowOf(HWND dialog, int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendDlgItemMessageW(dialog, lst1, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                            reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(GetDlgItem(dialog, lst1), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static RECT headerOf(HWND dialog, int column) {
        const HWND header = reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, lst1, LVM_GETHEADER, 0, 0));
        RECT r{};
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    OPENFILENAMEW ofn{};
    wchar_t file[MAX_PATH] = L"";
};

TEST_F(FileDialogTest, ItListsTheInitialFolderThroughTheFilterWithTheInitialName) {
    wcscpy(file, L"new.dwg");
    std::wstring folder, list, name;
    pal::gdi::Surface shot;
    RECT listRect{};
    onIdle = [&](HWND dialog) {
        ASSERT_TRUE(pal::test::keepSnapshot(dialog, "file-dialog.png"));
        shot = pal::test::snapshot(dialog, true);
        GetWindowRect(GetDlgItem(dialog, lst1), &listRect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&listRect), 2);
        folder = textOf(GetDlgItem(dialog, stc1));
        list = listOf(dialog);
        name = textOf(GetDlgItem(dialog, edt1));
        pal::test::pressKey(VK_ESCAPE);
    };
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u) << "cancelling is no error";
    EXPECT_EQ(folder, L"C:\\Drawings");
    EXPECT_EQ(list, L"[..]\n[Old]\ndetail.dwg\nplan.dwg\n");
    EXPECT_EQ(name, L"new.dwg");
    ASSERT_GT(shot.width(), 0);
    EXPECT_EQ(shot.pixel(listRect.left + 10, listRect.bottom - 10), GetSysColor(COLOR_WINDOW)) << "the list";
    EXPECT_NE(shot.pixel(listRect.left, listRect.top), GetSysColor(COLOR_BTNFACE)) << "its edge";
}

// Keys alone: Alt+U goes up a folder at a time until the drive's top, where Up gives out; the
// places show the drive, and Home in them takes the person to Documents. A folder given with a
// trailing separator goes up just the same.
TEST_F(FileDialogTest, UpAndThePlacesAreReachedByKeys) {
    for (const wchar_t* initial : {L"C:\\Drawings\\Old", L"C:\\Drawings\\Old\\", L"C:/Drawings/Old/"}) {
        SCOPED_TRACE(pal::text::toUtf8(initial));
        ofn.lpstrInitialDir = initial;
        std::vector<std::wstring> folders;
        bool upAtTop = true;
        std::wstring place, driveShown;
        // Each idle of the dialog takes the next step, and asks for the idle after it.
        std::function<void(HWND)> step = [&](HWND dialog) {
            folders.push_back(textOf(GetDlgItem(dialog, stc1)));
            onIdle = step;
            if (folders.size() < 3) {
                pal::test::pressKey('U', {VK_MENU});
                return;
            }
            if (folders.size() == 3) {
                upAtTop = IsWindowEnabled(GetDlgItem(dialog, 0x04A1)) != FALSE;
                driveShown = textOf(GetDlgItem(dialog, 0x0471));
                SetFocus(GetDlgItem(dialog, 0x0471));
                pal::test::pressKey(VK_HOME);
                return;
            }
            place = textOf(GetDlgItem(dialog, 0x0471));
            onIdle = nullptr;
            pal::test::pressKey(VK_ESCAPE);
        };
        onIdle = step;
        EXPECT_FALSE(GetOpenFileNameW(&ofn));
        ASSERT_EQ(folders.size(), 4u);
        EXPECT_EQ(folders[0], L"C:\\Drawings\\Old");
        EXPECT_EQ(folders[1], L"C:\\Drawings");
        EXPECT_EQ(folders[2], L"C:\\");
        EXPECT_FALSE(upAtTop) << "nothing above a drive";
        EXPECT_EQ(driveShown, L"C:") << "the places show the drive the folder lies on";
        EXPECT_EQ(place, L"Documents");
        EXPECT_EQ(folders[3], pal::path::fromNative(pal::folders::documents()));
    }
}

// Runs the steps one idle of the dialog after another; each step's keys or clicks are handled
// before the next step looks.
struct Steps {
    std::function<void(HWND)>* slot;
    std::shared_ptr<std::vector<std::function<void(HWND)>>> steps;
    size_t next = 0;
    void operator()(HWND dialog) const {
        if (next >= steps->size())
            return;
        *slot = Steps{slot, steps, next + 1};
        (*steps)[next](dialog);
    }
};

void runSteps(std::function<void(HWND)>& onIdle, std::vector<std::function<void(HWND)>> steps) {
    onIdle = Steps{&onIdle, std::make_shared<std::vector<std::function<void(HWND)>>>(std::move(steps))};
}

void setTime(const fs::path& file, int daysAgo) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(24 * daysAgo));
}

// The details view: sizes in kilobytes, dates, folders first; a click on a column's header sorts
// by it, a second click turns the order round.
TEST_F(FileDialogTest, TheDetailsViewSortsByTheColumnClicked) {
    writeFile("drive_c/Drawings/detail.dwg", std::string(5000, 'd'));
    writeFile("drive_c/Drawings/section.dwg", std::string(6000, 's'));
    setTime(root() / "drive_c/Drawings/detail.dwg", 60);
    setTime(root() / "drive_c/Drawings/section.dwg", 30);
    setTime(root() / "drive_c/Drawings/plan.dwg", 2);
    std::vector<std::wstring> orders;
    std::wstring sizes, dates;
    const auto record = [&](HWND dialog) { orders.push_back(listOf(dialog)); };
    const auto clickHeader = [&](int column) {
        return [&, column](HWND dialog) {
            record(dialog);
            const RECT r = headerOf(dialog, column);
            pal::test::click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        };
    };
    runSteps(onIdle, {
                         [&](HWND dialog) {
                             sizes = listOf(dialog, 1);
                             dates = listOf(dialog, 2);
                             clickHeader(2)(dialog);
                         },
                         clickHeader(2),
                         [&](HWND dialog) {
                             ASSERT_TRUE(pal::test::keepSnapshot(dialog, "file-dialog-details.png"));
                             clickHeader(1)(dialog);
                         },
                         [&](HWND dialog) {
                             record(dialog);
                             pal::test::pressKey(VK_ESCAPE);
                         },
                     });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    ASSERT_EQ(orders.size(), 4u);
    EXPECT_EQ(orders[0], L"[..]\n[Old]\ndetail.dwg\nplan.dwg\nsection.dwg\n") << "by name at first";
    EXPECT_EQ(orders[1], L"[..]\n[Old]\ndetail.dwg\nsection.dwg\nplan.dwg\n") << "oldest first";
    EXPECT_EQ(orders[2], L"[..]\n[Old]\nplan.dwg\nsection.dwg\ndetail.dwg\n") << "newest first";
    EXPECT_EQ(orders[3], L"[..]\n[Old]\nplan.dwg\ndetail.dwg\nsection.dwg\n") << "smallest first";
    EXPECT_EQ(sizes, L"\n\n5 KB\n1 KB\n6 KB\n") << "folders have no size";
    const std::wstring shape = L"dddd-dd-dd dd:dd";
    size_t rows = 0;
    for (size_t start = 0, end; (end = dates.find(L'\n', start)) != std::wstring::npos;
         start = end + 1, ++rows) {
        const std::wstring date = dates.substr(start, end - start);
        if (rows == 0) {
            EXPECT_EQ(date, L"") << "the folder above has no date";
            continue;
        }
        ASSERT_EQ(date.size(), shape.size()) << pal::text::toUtf8(date);
        for (size_t i = 0; i < shape.size(); ++i)
            EXPECT_EQ(shape[i] == L'd', iswdigit(date[i]) != 0) << pal::text::toUtf8(date);
    }
    EXPECT_EQ(rows, 5u);
}

// Keys alone: Shift+Tab into the list, arrows to a folder, Enter opens it and Backspace goes
// back up; in the name edit a typed beginning is completed (a folder, then a file inside it by a
// relative path) and Enter takes it. The next dialog of the program opens in that folder.
TEST_F(FileDialogTest, KeysAloneBrowseCompleteATypedRelativePathAndTheFolderIsRemembered) {
    writeFile("drive_c/Drawings/Old/older.dwg", "older");
    ofn.Flags = OFN_FILEMUSTEXIST;
    std::vector<std::wstring> folders;
    std::wstring offered, selectedPart, afterEnd;
    const auto folder = [&](HWND dialog) { folders.push_back(textOf(GetDlgItem(dialog, stc1))); };
    const auto key = [](int k, std::initializer_list<int> modifiers = {}) {
        return [k, modifiers](HWND) { pal::test::pressKey(k, modifiers); };
    };
    runSteps(onIdle, {
                         [&](HWND dialog) {
                             folder(dialog);
                             pal::test::pressKey(VK_TAB, {VK_SHIFT});
                         },
                         key(VK_DOWN),
                         key(VK_DOWN),
                         key(VK_RETURN),
                         [&](HWND dialog) {
                             folder(dialog);
                             pal::test::pressKey(VK_BACK);
                         },
                         [&](HWND dialog) {
                             folder(dialog);
                             SetFocus(GetDlgItem(dialog, edt1));
                             pal::test::pressKey('O');
                         },
                         [&](HWND dialog) {
                             const HWND edit = GetDlgItem(dialog, edt1);
                             offered = textOf(edit);
                             DWORD start = 0, end = 0;
                             SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                          reinterpret_cast<LPARAM>(&end));
                             selectedPart = offered.substr(start, end - start);
                             pal::test::pressKey(VK_END);
                         },
                         key(VK_OEM_5),
                         key('O'),
                         [&](HWND dialog) {
                             afterEnd = textOf(GetDlgItem(dialog, edt1));
                             pal::test::pressKey(VK_RETURN);
                         },
                     });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], L"C:\\Drawings");
    EXPECT_EQ(folders[1], L"C:\\Drawings\\Old") << "Enter on a folder of the list opens it";
    EXPECT_EQ(folders[2], L"C:\\Drawings") << "Backspace in the list goes up";
    EXPECT_EQ(offered, L"Old");
    EXPECT_EQ(selectedPart, L"ld") << "the offered rest is selected, to be typed over";
    EXPECT_EQ(afterEnd, L"Old\\older.dwg");
    EXPECT_EQ(std::wstring(file), L"C:\\Drawings\\Old\\older.dwg");

    // No folder named: the program's last one.
    ofn.lpstrInitialDir = nullptr;
    file[0] = 0;
    std::wstring opened;
    runSteps(onIdle, {[&](HWND dialog) {
                 opened = textOf(GetDlgItem(dialog, stc1));
                 pal::test::pressKey(VK_ESCAPE);
             }});
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(opened, L"C:\\Drawings\\Old");
}

// Deleting letters offers nothing again: the person may be taking the offer back.
TEST_F(FileDialogTest, DeletingInTheNameOffersNothing) {
    std::wstring afterTyping, afterBack;
    runSteps(onIdle, {
                         [&](HWND dialog) {
                             SetFocus(GetDlgItem(dialog, edt1));
                             pal::test::pressKey('P');
                         },
                         [&](HWND dialog) {
                             afterTyping = textOf(GetDlgItem(dialog, edt1));
                             pal::test::pressKey(VK_BACK);
                         },
                         [&](HWND dialog) {
                             afterBack = textOf(GetDlgItem(dialog, edt1));
                             pal::test::pressKey(VK_ESCAPE);
                         },
                     });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(afterTyping, L"plan.dwg");
    EXPECT_EQ(afterBack, L"p") << "the selected offer goes, and nothing is offered in its place";
}

TEST_F(FileDialogTest, ChoosingAnotherFileTypeListsItsFiles) {
    std::wstring before, after, type;
    onIdle = [&](HWND dialog) {
        before = listOf(dialog);
        SetFocus(GetDlgItem(dialog, cmb1));
        pal::test::pressKey(VK_DOWN);
        onIdle = [&](HWND d) {
            after = listOf(d);
            type = textOf(GetDlgItem(d, cmb1));
            pal::test::pressKey(VK_ESCAPE);
        };
    };
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(before, L"[..]\n[Old]\ndetail.dwg\nplan.dwg\n");
    EXPECT_EQ(after, L"[..]\n[Old]\nnotes.txt\n");
    EXPECT_EQ(type, L"Texts (*.txt;*.log)");
}

TEST_F(FileDialogTest, APersonBrowsesFoldersAndMayChooseAHostPath) {
    const fs::path host = binDir() / "file-versions.txt";
    ASSERT_TRUE(fs::exists(host));
    ofn.Flags = OFN_FILEMUSTEXIST;
    ofn.nFilterIndex = 3;
    std::wstring afterOpening;
    onIdle = [&](HWND dialog) {
        // A double click on "[Old]" opens it; then a path typed in the edit is taken with Enter.
        const RECT r = rowOf(dialog, 1);
        pal::test::doubleClick(POINT{r.left + 5, r.top + 5});
        onIdle = [&, host](HWND d) {
            afterOpening = textOf(GetDlgItem(d, stc1));
            SetDlgItemTextW(d, edt1, host.wstring().c_str());
            pal::test::pressKey(VK_RETURN);
        };
    };
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(afterOpening, L"C:\\Drawings\\Old");
    EXPECT_EQ(std::wstring(file), host.wstring());
    EXPECT_EQ(journal("prompt").back().get("by"), "input");
}

TEST_F(FileDialogTest, TheResponderAnswersWithAPathAndTheResultIsFilledIn) {
    wchar_t title[MAX_PATH] = L"";
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST;
    answer(L"C:\\Drawings\\plan.dwg");
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(file), L"C:\\Drawings\\plan.dwg");
    EXPECT_EQ(ofn.nFileOffset, 12);
    EXPECT_EQ(ofn.nFileExtension, 17);
    EXPECT_EQ(std::wstring(title), L"plan.dwg");
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    const auto prompt = journal("prompt").back();
    EXPECT_EQ(prompt.get("kind"), "FileDialog");
    EXPECT_EQ(prompt.get("caption"), "Open");
    EXPECT_EQ(prompt.get("answer"), "C:\\Drawings\\plan.dwg");
    EXPECT_EQ(prompt.get("by"), "responder");
}

// File names are UTF-8 bytes on the host whatever the process's locale: names beyond ASCII are
// listed and chosen like any other.
TEST_F(FileDialogTest, NamesBeyondAsciiAreListedAndChosen) {
    writeFile("drive_c/Drawings/\xD1\x87\xD0\xB5\xD1\x80\xD1\x82\xD1\x91\xD0\xB6.dwg", "plan");
    const std::wstring name = L"\u0447\u0435\u0440\u0442\u0451\u0436.dwg";
    std::wstring list;
    onIdle = [&](HWND dialog) {
        list = listOf(dialog);
        pal::test::pressKey(VK_ESCAPE);
    };
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_NE(list.find(name + L"\n"), std::wstring::npos) << pal::text::toUtf8(list);

    wchar_t title[MAX_PATH] = L"";
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST;
    onIdle = nullptr;
    answer(L"C:\\Drawings\\" + name);
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(title), name);
}

TEST_F(FileDialogTest, TheDefaultExtensionIsAddedToANameWithout) {
    ofn.lpstrDefExt = L"dwg";
    const struct {
        const wchar_t* answer;
        const wchar_t* expected;
        bool different;
    } cases[] = {{L"C:\\Drawings\\section", L"C:\\Drawings\\section.dwg", false},
                 {L"C:\\Drawings\\section.DWG", L"C:\\Drawings\\section.DWG", false},
                 {L"C:\\Drawings\\section.txt", L"C:\\Drawings\\section.txt", true},
                 {L"Old\\relative", L"C:\\Drawings\\Old\\relative.dwg", false}};
    for (const auto& c : cases) {
        answer(c.answer);
        ASSERT_TRUE(GetSaveFileNameW(&ofn)) << pal::text::toUtf8(c.answer);
        EXPECT_EQ(std::wstring(file), c.expected);
        EXPECT_EQ((ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, c.different);
    }
}

TEST_F(FileDialogTest, SavingOverAFileAsksFirst) {
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    // No: the dialog stays, and the next answer cancels it.
    answer(L"C:\\Drawings\\plan.dwg");
    answer(IDNO);
    answer(IDCANCEL);
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    // Yes: the file is chosen.
    answer(L"C:\\Drawings\\plan.dwg");
    answer(L"Yes");
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(std::wstring(file), L"C:\\Drawings\\plan.dwg");
    // A new name asks nothing.
    answer(L"C:\\Drawings\\fresh.dwg");
    ASSERT_TRUE(GetSaveFileNameW(&ofn));

    std::vector<std::string> asked;
    for (const auto& e : journal("prompt"))
        asked.push_back(e.get("kind") + ":" + e.get("answer"));
    EXPECT_EQ(asked, (std::vector<std::string>{"MessageBox:7", "FileDialog:cancel", "MessageBox:6",
                                               "FileDialog:C:\\Drawings\\plan.dwg",
                                               "FileDialog:C:\\Drawings\\fresh.dwg"}));
    EXPECT_EQ(journal("prompt").at(0).get("text"), "plan.dwg already exists.\nDo you want to replace it?");
}

TEST_F(FileDialogTest, SeveralFilesOfOneFolderComeBackAsTheFolderAndTheirNames) {
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST;
    answer(L"C:\\Drawings\\plan.dwg|C:\\Drawings\\detail.dwg");
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    const std::wstring expected(L"C:\\Drawings\0plan.dwg\0detail.dwg\0", 32);
    EXPECT_EQ(std::wstring(file, expected.size()), expected);
    EXPECT_EQ(file[expected.size()], L'\0');
    EXPECT_EQ(ofn.nFileOffset, 12);
}

TEST_F(FileDialogTest, AnswersTheDialogCannotTakeAreRefused) {
    allowRefusedAnswers = true;
    const fs::path outside = binDir() / "file-versions.txt";
    const struct {
        std::wstring answer;
        DWORD flags;
        const char* reason;
    } cases[] = {
        {outside.wstring(), 0, "the path is outside the sandbox"},
        {(root() / ".." / "beside.dwg").wstring(), 0, "the path is outside the sandbox"},
        {L"C:\\Drawings\\missing.dwg", OFN_FILEMUSTEXIST, "the file does not exist"},
        {L"C:\\Nowhere\\plan.dwg", OFN_PATHMUSTEXIST, "the folder does not exist"},
        {L"C:\\Drawings\\plan.dwg|C:\\Drawings\\Old\\x.dwg", OFN_ALLOWMULTISELECT,
         "the files are not in one folder"},
        {L"C:\\Drawings\\plan.dwg|C:\\Drawings\\detail.dwg", 0, "several files for a dialog that takes one"},
    };
    for (const auto& c : cases) {
        ofn.Flags = c.flags;
        answer(c.answer);
        EXPECT_FALSE(GetOpenFileNameW(&ofn)) << c.reason;
    }
    const auto refused = journal("prompt.refused");
    ASSERT_EQ(refused.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(refused[i].get("reason"), cases[i].reason);
    EXPECT_TRUE(journal("prompt").empty()) << "no refused answer is taken as an answer";
}

TEST_F(FileDialogTest, ABufferTooSmallFailsWithItsError) {
    wchar_t small[8] = L"";
    ofn.lpstrFile = small;
    ofn.nMaxFile = 8;
    allowRefusedAnswers = true;
    answer(L"C:\\Drawings\\plan.dwg");
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(static_cast<int>(small[0]), 21);
}

TEST_F(FileDialogTest, AnUnansweredDialogIsCancelled) {
    allowUnansweredPrompts = true;
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(journal("prompt.unanswered").size(), 1u);
}

} // namespace
} // namespace controlstest
