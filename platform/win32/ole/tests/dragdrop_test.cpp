// Drag and drop within one program, driven by simulated mouse and keys: OLE drops between two
// windows, files dropped on a window that accepts them, and the ways a drop fails cleanly.
#include "test_objects.h"

#include "pal/test/user_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using oletest::unicodeBlock;

std::string fileList(std::initializer_list<const wchar_t*> paths) {
    DROPFILES header{sizeof(DROPFILES), {0, 0}, TRUE, TRUE};
    std::string out(reinterpret_cast<const char*>(&header), sizeof header);
    for (const wchar_t* p : paths)
        out += unicodeBlock(p);
    return out + std::string(2, '\0');
}

// The window procedure of the test windows: the source starts a drag on a button press, the
// others record what reaches them.
std::function<void(HWND)> gOnPress;
std::vector<MSG> gReceived;

LRESULT testProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && gOnPress) {
        gOnPress(hwnd);
        return 0;
    }
    if (message == WM_DROPFILES)
        gReceived.push_back(MSG{hwnd, message, wParam, lParam, 0, {}});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class DragDrop : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = testProc;
        wc.lpszClassName = L"DragTestWindow";
        RegisterClassExW(&wc);
        source = CreateWindowExW(0, L"DragTestWindow", L"source", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                                 nullptr, nullptr, nullptr, nullptr);
        target = CreateWindowExW(0, L"DragTestWindow", L"target", WS_POPUP | WS_VISIBLE, 500, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(source);
        SetFocus(source);
        pal::test::pump();
        gReceived.clear();
    }
    void TearDown() override {
        gOnPress = nullptr;
        gReceived.clear();
        UserTest::TearDown();
        OleUninitialize();
    }

    struct Outcome {
        HRESULT result = E_FAIL;
        DWORD effect = 0xDEAD;
    };

    // Presses at the source, whose press handler runs the drag with `data`; while it runs, the
    // pointer moves through `path` and is released at its last point. `keys` run just before
    // the release (keys pressed there, Esc).
    Outcome drag(IDataObject* data, std::vector<POINT> path, const std::function<void()>& keys = {},
                 DWORD ok = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        Outcome out;
        source_ = new oletest::TestSource;
        for (POINT p : path)
            source_->script.push_back([p] { pal::test::mouseMove(p); });
        const POINT end = path.back();
        source_->script.push_back([end, keys] {
            if (keys)
                keys();
            pal::test::mouseUp(end);
        });
        gOnPress = [&](HWND) { out.result = DoDragDrop(data, source_, ok, &out.effect); };
        pal::test::mouseDown(POINT{150, 150});
        pal::test::pump();
        source_->Release();
        source_ = nullptr;
        return out;
    }

    HWND source = nullptr;
    HWND target = nullptr;
    oletest::TestSource* source_ = nullptr;
};

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
        {"ctrl-drag copies", {VK_CONTROL}, false, DRAGDROP_S_DROP, DROPEFFECT_COPY, {"enter", "over", "drop"}},
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
