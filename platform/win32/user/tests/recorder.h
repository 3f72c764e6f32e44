// A window class whose procedure writes down the messages its windows receive, as
// "name:WM_X", for tests that compare message sequences with a table.
#pragma once

#include "pal/test/user_test.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace usertest {

std::string messageName(UINT message);

// An expected row the platform sends on some systems and not on others; a sequence matches
// with or without it.
std::string optional(const std::string& row);

// Whether `got` is `expected` with none, some or all of the optional rows left out.
bool sameOrder(const std::vector<std::string>& got, const std::vector<std::string>& expected);

// The rows, "who:MESSAGE", that `keep` accepts, in their order: a table compares only the messages
// it speaks of.
std::vector<std::string>
keptRows(const std::vector<std::string>& rows,
         const std::function<bool(const std::string& who, const std::string& message)>& keep);

// Both sequences side by side, for a failure message.
std::string describeOrder(const std::vector<std::string>& got, const std::vector<std::string>& expected);

class Recorder {
public:
    // Windows are named by the text given as the creation parameter; the messages that come
    // before WM_NCCREATE carry none, so the name of the window being made is kept here too.
    std::map<HWND, std::string> names;
    const char* pending = nullptr;
    std::vector<std::string> log;
    bool recording = true;
    // Runs before the default handling; answer true with `result` set to stop it.
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)> hook;

    // Windows of other classes (an "MDICLIENT") whose messages are written down under `name`
    // too, by a procedure put in front of their own.
    void watch(HWND hwnd, const char* name);
    std::map<HWND, WNDPROC> watched;

    static Recorder* current;
    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT watchedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void note(HWND hwnd, UINT message);
};

// The fixture: registers "Recorded" (CS_DBLCLKS) and gives create() by name.
class RecordedTest : public pal::test::UserTest {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND create(const char* name, DWORD style, HWND parent = nullptr, RECT r = {10, 20, 410, 320}, int id = 0,
                DWORD exStyle = 0);
    HWND win(const std::string& name) const;
    std::vector<std::string> take();

    Recorder recorder;
};

} // namespace usertest
