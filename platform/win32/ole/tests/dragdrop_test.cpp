// Drag and drop within one program, driven by simulated mouse and keys: OLE drops between two
// windows, files dropped on a window that accepts them, and the ways a drop fails cleanly.
#include "drag_fixture.h"

#include "pal/test/user_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

using oletest::unicodeBlock;

using oletest::fileList;
using DragDrop = oletest::DragFixture;
using oletest::gReceived;

TEST_F(DragDrop, AnOleDragBetweenTwoWindowsChoosesItsEffectByKeyStateAndIsCancelledByEsc) {
    struct Case {
        const char* name;
        std::vector<int> held; // keys held while releasing
        bool escape;
        HRESULT result;
        DWORD effect;
        std::vector<std::string> calls;
    } cases[] = {
        {"plain drag moves", {}, false, DRAGDROP_S_DROP, DROPEFFECT_MOVE, {"enter", "over", "drop"}},
        {"ctrl-drag copies",
         {VK_CONTROL},
         false,
         DRAGDROP_S_DROP,
         DROPEFFECT_COPY,
         {"enter", "over", "drop"}},
        {"esc cancels", {}, true, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, {"enter", "over", "leave"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* t = new oletest::TestTarget;
        ASSERT_EQ(RegisterDragDrop(target, t), S_OK);
        auto* data = new oletest::TestData;
        data->add(CF_UNICODETEXT, unicodeBlock(L"a fragment"));
        const Outcome out = drag(data, {{160, 150}, {600, 150}, {610, 160}, {620, 170}}, [&] {
            for (int k : c.held)
                pal::test::keyDown(k);
            if (c.escape)
                pal::test::keyDown(VK_ESCAPE);
        });
        if (c.escape)
            pal::test::keyUp(VK_ESCAPE);
        for (int k : c.held)
            pal::test::keyUp(k);
        pal::test::pump();
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.effect, c.effect);
        // Entering at the first point over the target, then one move for each later point.
        std::vector<std::string> calls = t->calls;
        calls.erase(std::unique(calls.begin(), calls.end()), calls.end());
        EXPECT_EQ(calls, c.calls);
        if (c.result == DRAGDROP_S_DROP) {
            EXPECT_EQ(t->droppedText, L"a fragment");
            EXPECT_EQ(t->dropPoint.x, 620);
            EXPECT_EQ(t->dropPoint.y, 170);
        }
        EXPECT_EQ(RevokeDragDrop(target), S_OK);
        t->Release();
        data->Release();
    }
    EXPECT_FALSE(journal("drag-cursor").empty()) << "the default cursors are journaled";
}

TEST_F(DragDrop, ADropOutsideAnyTargetIsNoDrop) {
    auto* t = new oletest::TestTarget;
    ASSERT_EQ(RegisterDragDrop(target, t), S_OK);
    auto* data = new oletest::TestData;
    data->add(CF_UNICODETEXT, unicodeBlock(L"x"));
    const Outcome out = drag(data, {{600, 150}, {1500, 900}});
    EXPECT_EQ(out.result, DRAGDROP_S_CANCEL);
    EXPECT_EQ(out.effect, DROPEFFECT_NONE);
    EXPECT_EQ(t->calls.back(), "leave") << "the pointer left the target before the release";
    RevokeDragDrop(target);
    t->Release();
    data->Release();
}

TEST_F(DragDrop, AFileListDroppedOnAWindowThatAcceptsFilesReachesWmDropfilesWithItsPathsAndPoint) {
    DragAcceptFiles(target, TRUE);
    EXPECT_TRUE(GetWindowLongW(target, GWL_EXSTYLE) & static_cast<LONG>(WS_EX_ACCEPTFILES));
    auto* data = new oletest::TestData;
    data->add(CF_HDROP, fileList({L"C:\\docs\\one.grb", L"C:\\docs\\two.grb"}));
    const Outcome out = drag(data, {{520, 120}, {530, 140}});
    EXPECT_EQ(out.result, DRAGDROP_S_DROP);
    EXPECT_EQ(out.effect, DROPEFFECT_COPY);
    ASSERT_EQ(gReceived.size(), 1u);
    EXPECT_EQ(gReceived[0].hwnd, target);
    HDROP drop = reinterpret_cast<HDROP>(gReceived[0].wParam);
    ASSERT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileW(drop, 0, nullptr, 0), 15u);
    wchar_t path[MAX_PATH];
    EXPECT_EQ(DragQueryFileW(drop, 1, path, MAX_PATH), 15u);
    EXPECT_STREQ(path, L"C:\\docs\\two.grb");
    EXPECT_EQ(DragQueryFileW(drop, 1, path, 8), 7u) << "truncated to the buffer";
    EXPECT_STREQ(path, L"C:\\docs");
    EXPECT_EQ(DragQueryFileW(drop, 2, path, MAX_PATH), 0u);
    POINT p{};
    EXPECT_TRUE(DragQueryPoint(drop, &p));
    EXPECT_EQ(p.x, 30) << "in the client area of the window";
    EXPECT_EQ(p.y, 40);
    DragFinish(drop);
    EXPECT_EQ(GlobalSize(drop), 0u) << "DragFinish frees the list";

    // A drag without files is not taken; nor is anything once the window stops accepting files.
    auto* text = new oletest::TestData;
    text->add(CF_UNICODETEXT, unicodeBlock(L"no files"));
    EXPECT_EQ(drag(text, {{530, 140}}).effect, DROPEFFECT_NONE);
    DragAcceptFiles(target, FALSE);
    EXPECT_EQ(drag(data, {{530, 140}}).effect, DROPEFFECT_NONE);
    EXPECT_TRUE(gReceived.size() == 1u);
    data->Release();
    text->Release();
}

TEST_F(DragDrop, AWindowWithATargetThatAlsoAcceptsFilesGetsTheFilesItsTargetDeclinesAsWmDropfiles) {
    struct Case {
        const char* name;
        bool acceptsFiles;
        bool files, text; // what the drag offers
        DWORD effect;
        bool dropFiles;  // WM_DROPFILES arrived
        std::string end; // the target's last call
    } cases[] = {
        {"files the target declines", true, true, false, DROPEFFECT_COPY, true, "leave"},
        {"text the target takes", true, false, true, DROPEFFECT_MOVE, false, "drop"},
        {"files with text: the target's choice stands", true, true, true, DROPEFFECT_MOVE, false, "drop"},
        {"files on a window that does not accept them", false, true, false, DROPEFFECT_NONE, false, "leave"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* t = new oletest::TestTarget;
        t->onlyText = true;
        ASSERT_EQ(RegisterDragDrop(target, t), S_OK);
        DragAcceptFiles(target, c.acceptsFiles);
        auto* data = new oletest::TestData;
        if (c.files)
            data->add(CF_HDROP, fileList({L"C:\\docs\\plan.grb"}));
        if (c.text)
            data->add(CF_UNICODETEXT, unicodeBlock(L"a fragment"));
        gReceived.clear();
        const Outcome out = drag(data, {{520, 120}, {530, 140}});
        pal::test::pump();
        EXPECT_EQ(out.effect, c.effect);
        EXPECT_EQ(out.result, c.effect ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL);
        ASSERT_EQ(gReceived.size(), c.dropFiles ? 1u : 0u);
        if (c.dropFiles) {
            HDROP drop = reinterpret_cast<HDROP>(gReceived[0].wParam);
            wchar_t path[MAX_PATH];
            EXPECT_EQ(DragQueryFileW(drop, 0, path, MAX_PATH), 16u);
            EXPECT_STREQ(path, L"C:\\docs\\plan.grb");
            DragFinish(drop);
        }
        ASSERT_FALSE(t->calls.empty());
        EXPECT_EQ(t->calls.front(), "enter");
        EXPECT_EQ(t->calls.back(), c.end);
        EXPECT_EQ(std::count(t->calls.begin(), t->calls.end(), "drop"), c.end == "drop" ? 1 : 0);
        DragAcceptFiles(target, FALSE);
        RevokeDragDrop(target);
        t->Release();
        data->Release();
    }
}

TEST_F(DragDrop, ADataObjectThatFailsOrLiesAboutItsMediumMakesTheDropFailCleanly) {
    for (auto how : {oletest::Misbehaviour::FailGetData, oletest::Misbehaviour::WrongMedium,
                     oletest::Misbehaviour::BadHandle}) {
        SCOPED_TRACE(static_cast<int>(how));
        // Onto an OLE target, which reads the data in its Drop.
        auto* t = new oletest::TestTarget;
        ASSERT_EQ(RegisterDragDrop(target, t), S_OK);
        auto* data = new oletest::TestData(how);
        data->add(CF_UNICODETEXT, unicodeBlock(L"x"));
        data->add(CF_HDROP, fileList({L"C:\\a.grb"}));
        Outcome out = drag(data, {{600, 150}});
        EXPECT_EQ(out.result, DRAGDROP_S_CANCEL);
        EXPECT_EQ(out.effect, DROPEFFECT_NONE);
        EXPECT_TRUE(t->dropReadFailed);
        RevokeDragDrop(target);
        t->Release();

        // Onto a window that accepts files, where the layer itself reads the list.
        DragAcceptFiles(target, TRUE);
        out = drag(data, {{600, 150}});
        EXPECT_EQ(out.effect, DROPEFFECT_NONE);
        EXPECT_TRUE(gReceived.empty()) << "no WM_DROPFILES without a sound list";
        DragAcceptFiles(target, FALSE);
        data->Release();
    }
}

TEST_F(DragDrop, DroppedFileListsWithAWrongSizeOrAMissingTerminatorAreRefusedWithoutReadingPastThem) {
    auto header = [](DWORD offset, BOOL wide) {
        DROPFILES h{offset, {3, 4}, FALSE, wide};
        return std::string(reinterpret_cast<const char*>(&h), sizeof h);
    };
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"shorter than the header", std::string(19, '\0')},
        {"list offset past the end", header(64, TRUE) + unicodeBlock(L"a") + std::string(2, '\0')},
        {"list offset inside the header", header(4, TRUE) + unicodeBlock(L"a") + std::string(2, '\0')},
        {"no closing terminator", header(20, TRUE) + unicodeBlock(L"a")},
        {"path cut short", header(20, TRUE) + std::string("a\0b", 3)},
        {"narrow path without terminator", header(20, FALSE) + "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Exactly the bytes of the case: anything read beyond them would be outside the block.
        HGLOBAL h = GlobalAlloc(GMEM_FIXED, c.bytes.size());
        std::memcpy(h, c.bytes.data(), c.bytes.size());
        HDROP drop = static_cast<HDROP>(h);
        EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 0u);
        wchar_t path[8] = L"same";
        EXPECT_EQ(DragQueryFileW(drop, 0, path, 8), 0u);
        EXPECT_STREQ(path, L"same");
        POINT p{-1, -1};
        EXPECT_FALSE(DragQueryPoint(drop, &p));
        EXPECT_EQ(p.x, -1);
        DragFinish(drop);
    }
    EXPECT_EQ(DragQueryFileW(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
}

TEST_F(DragDrop, RegistrationNeedsOleALiveWindowAndOneTargetPerWindow) {
    auto* t = new oletest::TestTarget;
    EXPECT_EQ(RegisterDragDrop(nullptr, t), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RegisterDragDrop(target, t), S_OK);
    EXPECT_EQ(RegisterDragDrop(target, t), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RevokeDragDrop(target), S_OK);
    EXPECT_EQ(RevokeDragDrop(target), DRAGDROP_E_NOTREGISTERED);
    HRESULT other = S_OK;
    std::thread([&] { other = RegisterDragDrop(target, t); }).join();
    EXPECT_EQ(other, CO_E_NOTINITIALIZED);
    t->Release();
}

} // namespace
