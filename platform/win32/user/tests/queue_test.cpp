// The message queue: the order messages are taken in, filters, sends across threads,
// timers from the manual clock, the pump, character translation and waits.
#include "recorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace usertest {
namespace {

using Seq = std::vector<std::string>;

class QueueTest : public RecordedTest {
protected:
    // Takes everything waiting, in order, without dispatching.
    std::vector<UINT> drain() {
        std::vector<UINT> out;
        MSG m{};
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            out.push_back(m.message);
            if (m.message == WM_PAINT)
                ValidateRect(m.hwnd, nullptr);
        }
        return out;
    }
};

TEST_F(QueueTest, MessagesAreTakenPostedThenInputThenQuitThenPaintThenTimers) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    drain();
    SetTimer(w, 1, 10, nullptr);
    advance(10);
    InvalidateRect(w, nullptr, TRUE);
    pal::test::keyDown('K');
    PostQuitMessage(3);
    PostMessageW(w, WM_USER + 1, 0, 0);
    EXPECT_EQ(drain(), (std::vector<UINT>{WM_USER + 1, WM_KEYDOWN, WM_QUIT, WM_PAINT, WM_TIMER}));
}

TEST_F(QueueTest, FiltersAndNoRemoveLeaveOtherMessagesInPlace) {
    HWND a = create("a", WS_OVERLAPPEDWINDOW);
    HWND b = create("b", WS_OVERLAPPEDWINDOW);
    PostMessageW(a, WM_USER + 1, 0, 0);
    PostMessageW(b, WM_USER + 2, 0, 0);
    PostMessageW(a, WM_COMMAND, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 3, 0, 0);
    MSG m{};
    ASSERT_TRUE(PeekMessageW(&m, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 2u);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(m.hwnd, a);
    ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 3u) << "-1 takes thread messages only";
    EXPECT_FALSE(PeekMessageW(&m, a, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(drain(), (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
}

TEST_F(QueueTest, CrossThreadSendIsAnsweredWhileTheUiThreadWaitsInGetMessage) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    const DWORD ui = GetCurrentThreadId();
    DWORD handledOn = 0;
    BOOL inSend = FALSE;
    recorder.hook = [&](HWND, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
        if (m != WM_USER + 5)
            return false;
        handledOn = GetCurrentThreadId();
        inSend = InSendMessage();
        r = static_cast<LRESULT>(wp + static_cast<WPARAM>(lp));
        return true;
    };
    LRESULT answer = 0;
    std::thread sender([&] {
        answer = SendMessageW(w, WM_USER + 5, 2, 3);
        PostMessageW(w, WM_USER + 6, 0, 0);
    });
    MSG m{};
    while (GetMessageW(&m, nullptr, 0, 0) > 0 && m.message != WM_USER + 6)
        DispatchMessageW(&m);
    sender.join();
    EXPECT_EQ(answer, 5);
    EXPECT_EQ(handledOn, ui);
    EXPECT_TRUE(inSend);
}

TEST_F(QueueTest, SendingToAWindowOfAnEndedThreadFailsAtOnce) {
    HWND orphan = nullptr;
    DWORD tid = 0;
    std::thread t([&] {
        orphan = CreateWindowExW(0, L"Recorded", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        tid = GetCurrentThreadId();
    });
    t.join();
    ASSERT_NE(orphan, nullptr);
    SetLastError(0);
    EXPECT_EQ(SendMessageW(orphan, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(IsWindow(orphan)) << "a thread's windows end with it";
    EXPECT_FALSE(PostThreadMessageW(tid, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
}

TEST_F(QueueTest, ASendWaitingForAThreadThatEndsFailsWithoutHanging) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Ctx {
        HANDLE ready;
        HWND hwnd;
    } ctx{ready, nullptr};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* c = static_cast<Ctx*>(p);
            c->hwnd = CreateWindowExW(0, L"Recorded", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                      nullptr, nullptr, nullptr);
            SetEvent(c->ready);
            Sleep(50); // never takes its messages
            return 0;
        },
        &ctx, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(SendMessageW(ctx.hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(ready);
}

TEST_F(QueueTest, SendTimeoutGivesUpOnABusyThreadAndTheMessageStillArrives) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    take();
    std::atomic<bool> timedOut{false};
    std::thread sender([&] {
        DWORD_PTR result = 0;
        SetLastError(0);
        const LRESULT ok = SendMessageTimeoutW(w, WM_USER + 7, 0, 0, SMTO_NORMAL, 30, &result);
        timedOut = !ok && GetLastError() == ERROR_TIMEOUT;
        PostMessageW(w, WM_USER + 8, 0, 0);
    });
    sender.join(); // this thread took nothing meanwhile
    EXPECT_TRUE(timedOut);
    pal::test::pump();
    EXPECT_EQ(take(), (Seq{"w:WM_USER+7", "w:WM_USER+8"}));
}

TEST_F(QueueTest, TwoThreadsSendingToEachOtherDoNotDeadlock) {
    HWND mine = create("mine", WS_OVERLAPPEDWINDOW);
    HWND theirs = nullptr;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    recorder.hook = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (h == mine && m == WM_USER + 1) {
            r = SendMessageW(theirs, WM_USER + 2, 0, 0) + 1; // back to the thread that waits for us
            return true;
        }
        if (h == theirs && m == WM_USER + 2) {
            r = 41;
            return true;
        }
        return false;
    };
    LRESULT answer = 0;
    std::thread other([&] {
        theirs = CreateWindowExW(0, L"Recorded", L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
        SetEvent(ready);
        answer = SendMessageW(mine, WM_USER + 1, 0, 0);
        PostMessageW(mine, WM_USER + 9, 0, 0);
    });
    WaitForSingleObject(ready, INFINITE);
    MSG m{};
    while (GetMessageW(&m, nullptr, 0, 0) > 0 && m.message != WM_USER + 9)
        DispatchMessageW(&m);
    other.join();
    EXPECT_EQ(answer, 42);
    CloseHandle(ready);
}

TEST_F(QueueTest, TimersFireFromTheManualClockOncePerDueTime) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    ASSERT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    take();
    struct Step {
        std::uint64_t advanceMs;
        size_t timers;
    };
    for (const Step& s : {Step{99, 0}, Step{1, 1}, Step{50, 0}, Step{350, 1}, Step{100, 1}}) {
        advance(s.advanceMs);
        pal::test::pump();
        EXPECT_EQ(take().size(), s.timers) << "after " << s.advanceMs << " ms more";
    }
    EXPECT_TRUE(KillTimer(w, 7));
    advance(1000);
    pal::test::pump();
    EXPECT_TRUE(take().empty());
    EXPECT_FALSE(KillTimer(w, 7));
}

TEST_F(QueueTest, ThreadTimersCallTheirProcedureAndForgedOnesCallNothing) {
    static int calls = 0;
    static UINT_PTR seen = 0;
    calls = 0;
    const TIMERPROC proc = [](HWND, UINT, UINT_PTR id, DWORD) {
        ++calls;
        seen = id;
    };
    const UINT_PTR id = SetTimer(nullptr, 0, 50, proc);
    ASSERT_NE(id, 0u);
    advance(50);
    pal::test::pump();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, id);
    PostThreadMessageW(GetCurrentThreadId(), WM_TIMER, 99, reinterpret_cast<LPARAM>(proc));
    pal::test::pump();
    EXPECT_EQ(calls, 1) << "a posted WM_TIMER for no timer of ours calls nothing";
    KillTimer(nullptr, id);
}

TEST_F(QueueTest, GetMessageWakesWhenTheClockMakesATimerDue) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    SetTimer(w, 1, 100, nullptr);
    std::thread clockMover([] {
        Sleep(20);
        pal::test::advanceClock(100);
    });
    MSG m{};
    ASSERT_GT(GetMessageW(&m, nullptr, 0, 0), 0);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
    clockMover.join();
}

TEST_F(QueueTest, PumpDrainsChainsOfMessagesAndRunsIdleUntilItIsDone) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    recorder.hook = [](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT&) {
        if (m == WM_USER && wp < 3)
            PostMessageW(h, WM_USER, wp + 1, 0);
        return false;
    };
    PostMessageW(w, WM_USER, 0, 0);
    std::vector<long> idleCalls;
    bool postedFromIdle = false;
    pal::test::PumpOptions options;
    options.idle = [&](long count) {
        idleCalls.push_back(count);
        if (!postedFromIdle) { // idle work that produces a message restarts the idle count
            postedFromIdle = true;
            PostMessageW(w, WM_USER + 1, 0, 0);
        }
        return count < 1;
    };
    take();
    const auto result = pal::test::pump(options);
    EXPECT_EQ(result.dispatched, 5u);
    EXPECT_EQ(idleCalls, (std::vector<long>{0, 0, 1}));
    EXPECT_EQ(take(), (Seq{"w:WM_USER", "w:WM_USER", "w:WM_USER", "w:WM_USER", "w:WM_USER+1"}));
}

TEST_F(QueueTest, PumpStopsAtQuitWithItsCode) {
    PostQuitMessage(4);
    const auto result = pal::test::pump();
    EXPECT_TRUE(result.quit);
    EXPECT_EQ(result.exitCode, 4);
}

TEST_F(QueueTest, KeysAreTranslatedToCharactersWithTheKeyStateOfTheirTime) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    pal::test::pump();
    take();
    std::vector<wchar_t> chars;
    SHORT shiftDuringA = 0;
    recorder.hook = [&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
        if (m == WM_CHAR)
            chars.push_back(static_cast<wchar_t>(wp));
        if (m == WM_KEYDOWN && wp == 'A')
            shiftDuringA = GetKeyState(VK_SHIFT);
        return false;
    };
    ASSERT_EQ(GetFocus(), w);
    pal::test::pressKey('A', {VK_SHIFT});
    pal::test::pressKey('B');
    pal::test::pressKey('2', {VK_SHIFT});
    pal::test::pump();
    EXPECT_EQ(chars, (std::vector<wchar_t>{L'A', L'b', L'@'}));
    EXPECT_LT(shiftDuringA, 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(take()[0], "w:WM_KEYDOWN");
}

TEST_F(QueueTest, MsgWaitEndsOnAnObjectOnNewInputOrOnTimeout) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 10, QS_ALLINPUT), WAIT_TIMEOUT);
    SetEvent(event);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
    const DWORD ui = GetCurrentThreadId();
    std::thread poster([ui] {
        Sleep(10);
        PostThreadMessageW(ui, WM_USER, 0, 0);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    poster.join();
    GetQueueStatus(QS_POSTMESSAGE); // the thread has looked at its queue
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_POSTMESSAGE), WAIT_TIMEOUT)
        << "a message already looked at is not new input";
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0);
    CloseHandle(event);
}

TEST_F(QueueTest, BadTargetsAndAFullQueueAreRefused) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    MSG m{};
    EXPECT_EQ(GetMessageW(&m, reinterpret_cast<HWND>(0x1234), 0, 0), -1);
    int posted = 0;
    while (PostMessageW(w, WM_USER, 0, 0) && posted < 20000)
        ++posted;
    EXPECT_EQ(posted, 10000);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
}

TEST_F(QueueTest, RegisteredMessagesAreStableByNameWithoutCase) {
    const UINT a = RegisterWindowMessageW(L"DravikShellNotify");
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageW(L"dravikshellnotify"), a);
    EXPECT_NE(RegisterWindowMessageW(L"Another"), a);
    EXPECT_EQ(RegisterWindowMessageW(L""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(L"#12"), 0u);
}

} // namespace
} // namespace usertest
