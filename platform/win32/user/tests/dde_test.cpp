// DDE lParams as a server unpacks and reuses them, and the reason a window holds up the end of a
// session.
#include "recorder.h"

#include "win/global_memory.h"

#include <gtest/gtest.h>

namespace usertest {
namespace {

class DdeTest : public RecordedTest {};

TEST_F(DdeTest, EachMessageKindUnpacksWhatWasPacked) {
    struct Case {
        UINT msg;
        UINT_PTR lo, hi;
        UINT_PTR wantLo, wantHi;
    };
    const Case cases[] = {
        {WM_DDE_ACK, 0x8000, 0x123456789, 0x8000, 0x123456789}, // a block keeps full-width values
        {WM_DDE_DATA, 7, 0xABCDEF012, 7, 0xABCDEF012},
        {WM_DDE_EXECUTE, 99, 0x5555AAAA1, 0, 0x5555AAAA1}, // the handle alone
        {WM_DDE_INITIATE, 0x1234, 0x5678, 0x1234, 0x5678}, // two halves
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.msg);
        const LPARAM packed = PackDDElParam(c.msg, c.lo, c.hi);
        UINT_PTR lo = 1, hi = 1;
        EXPECT_TRUE(UnpackDDElParam(c.msg, packed, &lo, &hi));
        EXPECT_EQ(lo, c.wantLo);
        EXPECT_EQ(hi, c.wantHi);
        EXPECT_TRUE(FreeDDElParam(c.msg, packed));
    }
}

TEST_F(DdeTest, AnExecuteLParamIsReusedAsAnAcknowledgementOfTheSameHandle) {
    HGLOBAL command = GlobalAlloc(GMEM_MOVEABLE, 16);
    const LPARAM execute = PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(command));
    const LPARAM ack =
        ReuseDDElParam(execute, WM_DDE_EXECUTE, WM_DDE_ACK, 0x8000, reinterpret_cast<UINT_PTR>(command));
    UINT_PTR status = 0, handle = 0;
    ASSERT_TRUE(UnpackDDElParam(WM_DDE_ACK, ack, &status, &handle));
    EXPECT_EQ(status, 0x8000u);
    EXPECT_EQ(handle, reinterpret_cast<UINT_PTR>(command));
    EXPECT_NE(GlobalSize(command), 0u) << "the command block stays the sender's";
    FreeDDElParam(WM_DDE_ACK, ack);
    GlobalFree(command);
}

TEST_F(DdeTest, AnAcknowledgementThatIsNoPackedBlockDoesNotUnpack) {
    HGLOBAL other = GlobalAlloc(GMEM_MOVEABLE, 64);
    UINT_PTR lo = 1, hi = 1;
    EXPECT_FALSE(UnpackDDElParam(WM_DDE_ACK, reinterpret_cast<LPARAM>(other), &lo, &hi));
    EXPECT_EQ(lo, 0u);
    EXPECT_EQ(hi, 0u);
    EXPECT_FALSE(FreeDDElParam(WM_DDE_ACK, reinterpret_cast<LPARAM>(other)));
    EXPECT_NE(GlobalSize(other), 0u) << "a block that is not ours is not freed";
    GlobalFree(other);
}

TEST_F(DdeTest, AWindowKeepsItsShutdownReasonUntilItIsDestroyed) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    EXPECT_FALSE(ShutdownBlockReasonCreate(nullptr, L"x"));
    ASSERT_TRUE(ShutdownBlockReasonCreate(w, L"Unsaved changes"));
    DWORD length = 0;
    ASSERT_TRUE(ShutdownBlockReasonQuery(w, nullptr, &length));
    EXPECT_EQ(length, 16u);
    wchar_t small[4];
    DWORD smallLength = 4;
    EXPECT_FALSE(ShutdownBlockReasonQuery(w, small, &smallLength));
    wchar_t buffer[32];
    DWORD bufferLength = 32;
    ASSERT_TRUE(ShutdownBlockReasonQuery(w, buffer, &bufferLength));
    EXPECT_STREQ(buffer, L"Unsaved changes");
    EXPECT_TRUE(ShutdownBlockReasonDestroy(w));
    EXPECT_FALSE(ShutdownBlockReasonQuery(w, nullptr, &length));
}

} // namespace
} // namespace usertest
