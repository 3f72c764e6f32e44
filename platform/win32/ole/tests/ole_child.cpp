// The second program of the clipboard and drag tests. Its first argument says what it does:
//   put-text <text>              put <text> on the clipboard as CF_UNICODETEXT
//   get-text                     print the clipboard's CF_TEXT
//   put-format <name> <bytes>    put <bytes> under the registered format <name>
//   get-format <name>            print the block of the registered format <name>
//   paste-files                  print the "Preferred DropEffect" and the file list of the OLE clipboard
//   hold                         open the clipboard, print "open", keep it until standard input ends
//   drop-target <x> <y> <w> <h> <ole|files>
//                                show a window there that takes drops (a drop target, or files),
//                                print "ready", print what the first drop brings, and exit when
//                                standard input ends
// Output is UTF-8, one item a line.
#include "test_objects.h"

#include "pal/text.h"
#include "win/system.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

namespace {

void out(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string blockOf(HANDLE h) {
    const void* p = GlobalLock(h);
    if (!p)
        return "<none>";
    std::string s(static_cast<const char*>(p), GlobalSize(h));
    GlobalUnlock(h);
    return s;
}

bool put(UINT format, const std::string& bytes) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(GlobalLock(h)));
    GlobalUnlock(h);
    const bool ok = SetClipboardData(format, h) == h;
    CloseClipboard();
    return ok;
}

std::string get(UINT format) {
    if (!OpenClipboard(nullptr))
        return "<closed>";
    std::string s = blockOf(GetClipboardData(format));
    CloseClipboard();
    return s;
}

UINT registered(const char* name) {
    return RegisterClipboardFormatW(pal::text::fromUtf8(name).c_str());
}

int pasteFiles() {
    OleInitialize(nullptr);
    IDataObject* data = nullptr;
    if (OleGetClipboard(&data) != S_OK)
        return 3;
    FORMATETC f{static_cast<CLIPFORMAT>(registered("Preferred DropEffect")), nullptr, DVASPECT_CONTENT, -1,
                TYMED_HGLOBAL};
    STGMEDIUM m{};
    DWORD effect = 0;
    if (data->GetData(&f, &m) == S_OK && GlobalSize(m.hGlobal) == 4) {
        effect = *static_cast<DWORD*>(GlobalLock(m.hGlobal));
        GlobalUnlock(m.hGlobal);
        ReleaseStgMedium(&m);
    }
    out("effect " + std::to_string(effect));
    f.cfFormat = CF_HDROP;
    if (data->GetData(&f, &m) == S_OK) {
        HDROP drop = static_cast<HDROP>(m.hGlobal);
        const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < n; ++i) {
            wchar_t path[MAX_PATH];
            DragQueryFileW(drop, i, path, MAX_PATH);
            out(pal::text::toUtf8(path));
        }
        ReleaseStgMedium(&m);
    }
    data->Release();
    return 0;
}

int hold() {
    if (!OpenClipboard(nullptr))
        return 3;
    out("open");
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    CloseClipboard();
    return 0;
}

std::string dropResult;

LRESULT targetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        POINT p{};
        DragQueryPoint(drop, &p);
        dropResult = "files at " + std::to_string(p.x) + "," + std::to_string(p.y);
        const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < n; ++i) {
            wchar_t path[MAX_PATH];
            DragQueryFileW(drop, i, path, MAX_PATH);
            dropResult += "\n" + pal::text::toUtf8(path);
        }
        DragFinish(drop);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int dropTarget(int x, int y, int w, int h, const std::string& mode) {
    // Never outlive a parent that stopped driving the drag.
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(60));
        std::_Exit(9);
    }).detach();
    OleInitialize(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = targetProc;
    wc.lpszClassName = L"ChildDropWindow";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, L"ChildDropWindow", L"child", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                                nullptr, nullptr, nullptr);
    auto* target = new oletest::TestTarget;
    if (mode == "files")
        DragAcceptFiles(hwnd, TRUE);
    else if (RegisterDragDrop(hwnd, target) != S_OK)
        return 4;
    out("ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
        if (!target->calls.empty() && target->calls.back() == "drop") {
            dropResult = "ole " + pal::text::toUtf8(target->droppedText) + " at " +
                         std::to_string(target->dropPoint.x) + "," + std::to_string(target->dropPoint.y);
            break;
        }
    }
    std::string calls;
    for (const std::string& c : target->calls)
        calls += (calls.empty() || calls.substr(calls.size() - c.size()) != c) ? " " + c : "";
    out(dropResult);
    out("calls" + calls);
    // The drop's reply is still on its way to the dragging program: stay until told to go.
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    if (mode != "files")
        RevokeDragDrop(hwnd);
    target->Release();
    DestroyWindow(hwnd);
    OleUninitialize();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "put-text" && argc > 2)
        return put(CF_UNICODETEXT, oletest::unicodeBlock(pal::text::fromUtf8(argv[2]))) ? 0 : 2;
    if (what == "get-text") {
        const std::string text = get(CF_TEXT);
        out(text.substr(0, text.find('\0')));
        return 0;
    }
    if (what == "put-format" && argc > 3)
        return put(registered(argv[2]), argv[3]) ? 0 : 2;
    if (what == "get-format" && argc > 2) {
        out(get(registered(argv[2])));
        return 0;
    }
    if (what == "paste-files")
        return pasteFiles();
    if (what == "hold")
        return hold();
    if (what == "drop-target" && argc > 6)
        return dropTarget(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                          argv[6]);
    return 1;
}
