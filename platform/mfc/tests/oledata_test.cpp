// Data transfer in the class library: a data source on the clipboard and in a drag, a window's
// drop target, dropped files reaching a window's handler, and data objects that fail or lie.
#include "afxole.h"
#include "afxwin.h"
#include "pal/test/user_test.h"
#include "test_objects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// A payload of the libraries clipboard: a 64-bit count, then the GUIDs.
HGLOBAL guidList(std::initializer_list<GUID> guids) {
    const SIZE_T size = 8 + 16 * guids.size();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    const std::uint64_t n = guids.size();
    std::memcpy(p, &n, 8);
    std::memcpy(p + 8, guids.begin(), 16 * guids.size());
    GlobalUnlock(h);
    return h;
}

constexpr GUID kFirst = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kSecond = {0xAAAAAAAA, 0xBBBB, 0xCCCC, {8, 7, 6, 5, 4, 3, 2, 1}};

int gSourcesDeleted = 0;
class CountedSource : public COleDataSource {
public:
    ~CountedSource() override { ++gSourcesDeleted; }
};

// Runs the test's script step by step while the drag asks whether to go on.
class ScriptedDropSource : public COleDropSource {
public:
    std::vector<std::function<void()>> script;
    size_t next = 0;
    SCODE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (next < script.size())
            script[next++]();
        return COleDropSource::QueryContinueDrag(escape, keys);
    }
};

// Takes "Library" payloads as the documents browser does onto a group: a plain drag copies,
// Ctrl moves; OnDrop reads the block.
class LibraryDropTarget : public COleDropTarget {
public:
    // Asked for when used: the fixture is made before the test's sandbox, which holds the
    // clipboard's registered formats.
    static UINT library() { return RegisterClipboardFormatW(L"Library"); }
    std::vector<std::string> calls;
    std::string dropped;
    CPoint dropPoint;
    DROPEFFECT dropEffect = DROPEFFECT_NONE;

    DROPEFFECT effectFor(COleDataObject* data, DWORD keys) {
        if (!data->IsDataAvailable(static_cast<CLIPFORMAT>(library())))
            return DROPEFFECT_NONE;
        return (keys & MK_CONTROL) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    }
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keys, CPoint) override {
        calls.push_back("enter");
        return effectFor(data, keys);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keys, CPoint) override {
        if (calls.back() != "over")
            calls.push_back("over");
        return effectFor(data, keys);
    }
    void OnDragLeave(CWnd*) override { calls.push_back("leave"); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
        calls.push_back("drop");
        HGLOBAL h = data->GetGlobalData(static_cast<CLIPFORMAT>(library()));
        if (!h)
            return FALSE;
        dropped.assign(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
        GlobalUnlock(h);
        GlobalFree(h);
        dropPoint = point;
        dropEffect = effect;
        return TRUE;
    }
};

// The source window starts a drag of the libraries payload when pressed.
class SourceWnd : public CWnd {
public:
    ScriptedDropSource* dropSource = nullptr;
    DROPEFFECT result = 0xDEAD;
    void OnLButtonDown(UINT, CPoint) {
        COleDataSource source;
        source.CacheGlobalData(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Library")),
                               guidList({kFirst, kSecond}));
        result = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, dropSource);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SourceWnd, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// A frame-like window that takes dropped files the way the main frame does.
class FilesWnd : public CWnd {
public:
    std::vector<std::wstring> files;
    CPoint point;
    void OnDropFiles(HDROP drop) {
        POINT p{};
        DragQueryPoint(drop, &p);
        point = CPoint(p.x, p.y);
        const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < n; ++i) {
            std::wstring name(DragQueryFileW(drop, i, nullptr, 0), L'\0');
            DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
            if (!name.empty())
                files.push_back(name);
        }
        DragFinish(drop);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FilesWnd, CWnd)
ON_WM_DROPFILES()
END_MESSAGE_MAP()

// The class library registers its window classes once per process, so these tests keep the
// window layer's classes and clean up their own windows instead of resetting the layer.
class OleData : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(source.CreateEx(0, nullptr, L"source", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, nullptr,
                                    nullptr));
        ASSERT_TRUE(target.CreateEx(0, nullptr, L"target", WS_POPUP | WS_VISIBLE, 500, 100, 300, 200, nullptr,
                                    nullptr));
        source.SetForegroundWindow();
        source.SetFocus();
        pal::test::pump();
    }
    void TearDown() override {
        dropTarget.Revoke();
        source.DestroyWindow();
        target.DestroyWindow();
        pal::test::pump();
        // Inside the sandbox still: letting go of the clipboard writes its store.
        OleUninitialize();
        SandboxTest::TearDown();
    }

    // Presses at the source; while the drag runs the pointer moves to the target and is
    // released there, after `keys`.
    DROPEFFECT dragToTarget(const std::function<void()>& keys = {}) {
        ScriptedDropSource dropSource;
        for (POINT p : {POINT{400, 150}, POINT{600, 150}, POINT{640, 180}})
            dropSource.script.push_back([p] { pal::test::mouseMove(p); });
        dropSource.script.push_back([keys] {
            if (keys)
                keys();
            pal::test::mouseUp(POINT{640, 180});
        });
        source.dropSource = &dropSource;
        pal::test::mouseDown(POINT{150, 150});
        pal::test::pump();
        source.dropSource = nullptr;
        return source.result;
    }

    SourceWnd source;
    CWnd target;
    LibraryDropTarget dropTarget;
};

TEST_F(OleData, ADataSourceOnTheClipboardIsReadBackAndGoesWhenTheClipboardLetsGoOfIt) {
    const UINT library = RegisterClipboardFormatW(L"Library");
    gSourcesDeleted = 0;
    auto* copy = new CountedSource;
    copy->CacheGlobalData(static_cast<CLIPFORMAT>(library), guidList({kFirst, kSecond}));
    copy->SetClipboard();
    EXPECT_EQ(gSourcesDeleted, 0) << "the clipboard holds it";

    COleDataObject pasted;
    ASSERT_TRUE(pasted.AttachClipboard());
    EXPECT_TRUE(pasted.IsDataAvailable(static_cast<CLIPFORMAT>(library)));
    EXPECT_FALSE(
        pasted.IsDataAvailable(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Libraries group"))));
    HGLOBAL h = pasted.GetGlobalData(static_cast<CLIPFORMAT>(library));
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(GlobalSize(h), 8u + 16 * 2);
    const auto* p = static_cast<const unsigned char*>(GlobalLock(h));
    EXPECT_EQ(p[0], 2);
    EXPECT_EQ(std::memcmp(p + 8, &kFirst, 16), 0);
    EXPECT_EQ(std::memcmp(p + 24, &kSecond, 16), 0);
    GlobalUnlock(h);
    GlobalFree(h);

    pasted.BeginEnumFormats();
    FORMATETC f{};
    ASSERT_TRUE(pasted.GetNextFormat(&f));
    EXPECT_EQ(f.cfFormat, library);
    EXPECT_FALSE(pasted.GetNextFormat(&f));

    COleDataSource::FlushClipboard();
    EXPECT_EQ(gSourcesDeleted, 1);
    HGLOBAL again = pasted.GetGlobalData(static_cast<CLIPFORMAT>(library));
    EXPECT_EQ(GlobalSize(again), 40u) << "the rendered blocks stay after the flush";
    GlobalFree(again);
}

TEST_F(OleData, ADragOfTheDataSourceOntoADropTargetCopiesPlainAndMovesWithCtrlAndEscCancels) {
    ASSERT_TRUE(dropTarget.Register(&target));
    struct Case {
        const char* name;
        std::function<void()> keys;
        DROPEFFECT result;
    } cases[] = {
        {"plain", {}, DROPEFFECT_COPY},
        {"ctrl", [] { pal::test::keyDown(VK_CONTROL); }, DROPEFFECT_MOVE},
        {"esc", [] { pal::test::keyDown(VK_ESCAPE); }, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dropTarget.calls.clear();
        dropTarget.dropped.clear();
        EXPECT_EQ(dragToTarget(c.keys), c.result);
        pal::test::keyUp(VK_CONTROL);
        pal::test::keyUp(VK_ESCAPE);
        pal::test::pump();
        if (c.result == DROPEFFECT_NONE) {
            EXPECT_EQ(dropTarget.calls, (std::vector<std::string>{"enter", "over", "leave"}));
            continue;
        }
        EXPECT_EQ(dropTarget.calls, (std::vector<std::string>{"enter", "over", "drop"}));
        EXPECT_EQ(dropTarget.dropEffect, c.result);
        EXPECT_EQ(dropTarget.dropped.size(), 40u);
        EXPECT_EQ(dropTarget.dropPoint, CPoint(140, 80)) << "in the target's client coordinates";
    }
}

TEST_F(OleData, ADataObjectThatFailsOrLiesAboutItsBlockIsNotDropped) {
    ASSERT_TRUE(dropTarget.Register(&target));
    for (auto how : {oletest::Misbehaviour::FailGetData, oletest::Misbehaviour::WrongMedium,
                     oletest::Misbehaviour::BadHandle}) {
        SCOPED_TRACE(static_cast<int>(how));
        auto* data = new oletest::TestData(how);
        data->add(dropTarget.library(), std::string(8, '\0'));
        COleDataObject wrapped;
        wrapped.Attach(data, FALSE);
        EXPECT_TRUE(wrapped.IsDataAvailable(static_cast<CLIPFORMAT>(dropTarget.library())));
        EXPECT_EQ(wrapped.GetGlobalData(static_cast<CLIPFORMAT>(dropTarget.library())), nullptr);

        // Dropped on the window: the target's OnDrop finds no block and the drag comes to nothing.
        auto* raw = new oletest::TestSource;
        for (POINT p : {POINT{600, 150}})
            raw->script.push_back([p] { pal::test::mouseMove(p); });
        raw->script.push_back([] { pal::test::mouseUp(POINT{600, 150}); });
        pal::test::mouseDown(POINT{150, 150});
        DWORD effect = 0xDEAD;
        MSG press;
        ASSERT_TRUE(PeekMessageW(&press, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(DoDragDrop(data, raw, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_CANCEL);
        EXPECT_EQ(effect, DROPEFFECT_NONE);
        EXPECT_EQ(dropTarget.calls.back(), "drop");
        EXPECT_TRUE(dropTarget.dropped.empty());
        raw->Release();
        data->Release();
        dropTarget.calls.clear();
    }
}

TEST_F(OleData, FilesDroppedOnAWindowReachItsDropFilesHandler) {
    FilesWnd frame;
    ASSERT_TRUE(
        frame.CreateEx(0, nullptr, L"frame", WS_POPUP | WS_VISIBLE, 500, 400, 300, 200, nullptr, nullptr));
    frame.DragAcceptFiles();
    auto* data = new oletest::TestData;
    DROPFILES header{sizeof(DROPFILES), {0, 0}, TRUE, TRUE};
    std::string list(reinterpret_cast<const char*>(&header), sizeof header);
    list += oletest::unicodeBlock(L"C:\\work\\plan.grb") + oletest::unicodeBlock(L"C:\\work\\cut.grb");
    list.append(2, '\0');
    data->add(CF_HDROP, list);
    auto* raw = new oletest::TestSource;
    raw->script.push_back([] { pal::test::mouseMove(POINT{610, 450}); });
    raw->script.push_back([] { pal::test::mouseUp(POINT{610, 450}); });
    pal::test::mouseDown(POINT{150, 150});
    MSG press;
    ASSERT_TRUE(PeekMessageW(&press, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(data, raw, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    pal::test::pump();
    EXPECT_EQ(frame.files, (std::vector<std::wstring>{L"C:\\work\\plan.grb", L"C:\\work\\cut.grb"}));
    EXPECT_EQ(frame.point, CPoint(110, 50));
    raw->Release();
    data->Release();
    frame.DestroyWindow();
}

} // namespace
