#include "pal/handles.h"
#include "win/base.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Plain : pal::KernelObject {
    pal::ObjectKind kind() const override { return pal::ObjectKind::Other; }
};

// A manual-reset flag, enough to exercise the wait machinery on its own.
struct Flag : pal::KernelObject {
    bool set = false;
    pal::ObjectKind kind() const override { return pal::ObjectKind::Event; }
    bool isWaitable() const override { return true; }
    bool tryAcquire(DWORD) override { return set; }
    void raise() {
        {
            std::lock_guard lock(pal::wait::hubMutex());
            set = true;
        }
        pal::wait::notifyAll();
    }
};

TEST(Handles, StaleHandleNeverReachesTheObjectThatReusedItsSlot) {
    HANDLE first = pal::handles::insert(std::make_shared<Plain>());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(first));
    HANDLE second = pal::handles::insert(std::make_shared<Plain>());
    EXPECT_NE(first, second);
    EXPECT_EQ(pal::handles::get(first), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_NE(pal::handles::get(second), nullptr);
    EXPECT_TRUE(CloseHandle(second));
}

TEST(Handles, ForgedAndNullHandlesAreRejected) {
    for (HANDLE h : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x1234567),
                     reinterpret_cast<HANDLE>(0xFFFF0000ull)}) {
        EXPECT_EQ(pal::handles::get(h), nullptr);
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    }
}

TEST(Handles, WaitsTimeOutAndWakeOnSignal) {
    auto flag = std::make_shared<Flag>();
    HANDLE h = pal::handles::insert(flag);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
    std::thread raiser([&] { flag->raise(); });
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
    raiser.join();

    auto other = std::make_shared<Flag>();
    HANDLE h2 = pal::handles::insert(other);
    HANDLE both[] = {h2, h};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_TIMEOUT);
    other->raise();
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_OBJECT_0);
    CloseHandle(h);
    CloseHandle(h2);
}

TEST(Handles, ClosingAPseudoHandleHasNoEffect) {
    EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
    EXPECT_TRUE(CloseHandle(GetCurrentThread()));
}

TEST(Handles, NonWaitableObjectsCannotBeWaitedOn) {
    HANDLE h = pal::handles::insert(std::make_shared<Plain>());
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(h);
}

} // namespace
