// The application-stream callbacks.
#include "partconv/app_streams.h"
#include "partconv/kernel_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace partconv {
namespace {

class RecordingStream : public AppStream {
public:
    void write(const void* bytes, std::size_t size) override {
        written.append(static_cast<const char*>(bytes), size);
    }
    void read(void* bytes, std::size_t size) override {
        std::memset(bytes, 'r', size);
        readSizes += std::to_string(size) + " ";
    }
    std::string written;
    std::string readSizes;
};

TEST(StreamRegistry, ReusesTheIdentifierReleasedLast) {
    StreamRegistry registry;
    RecordingStream s;
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(registry.open(&s, &a), statusOk);
    ASSERT_EQ(registry.open(&s, &b), statusOk);
    ASSERT_EQ(registry.open(&s, &c), statusOk);
    EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(registry.close(1, 0), statusOk);
    ASSERT_EQ(registry.close(3, 0), statusOk);
    ASSERT_EQ(registry.open(&s, &d), statusOk);
    EXPECT_EQ(d, 3);
    ASSERT_EQ(registry.open(&s, &d), statusOk);
    EXPECT_EQ(d, 1);
    ASSERT_EQ(registry.open(&s, &d), statusOk);
    EXPECT_EQ(d, 4);
}

TEST(StreamRegistry, CloseAnswers14OnAbortAndForUnknownIdentifiers) {
    StreamRegistry registry;
    RecordingStream s;
    int id = 0;
    ASSERT_EQ(registry.open(&s, &id), statusOk);
    EXPECT_EQ(registry.close(id, 1), statusCloseFailed);
    EXPECT_EQ(registry.close(id, 0), statusCloseFailed) << "already released";
    int again = 0;
    ASSERT_EQ(registry.open(&s, &again), statusOk);
    int next = 0;
    ASSERT_EQ(registry.open(&s, &next), statusOk);
    EXPECT_NE(again, next) << "a second close must not release the identifier twice";
}

TEST(StreamRegistry, ItemsOfEachSizeReachTheStream) {
    const PK_SESSION_applio_t applio = applioRecord();
    RecordingStream s;
    int id = 0;
    ASSERT_EQ(applio.open_write(&s, &id), statusOk);
    const char data[32] = "0123456789abcdefghijklmnopqrstu";
    EXPECT_EQ(applio.write_bytes(id, 3, data), statusOk);
    EXPECT_EQ(applio.write_chars(id, 1, data), statusOk);
    EXPECT_EQ(applio.write_shorts(id, 2, data), statusOk);
    EXPECT_EQ(applio.write_ints(id, 2, data), statusOk);
    EXPECT_EQ(applio.write_longs(id, 2, data), statusOk);
    EXPECT_EQ(s.written, "012"
                         "0"
                         "0123"
                         "01234567"
                         "0123456789abcdef");
    char back[32];
    EXPECT_EQ(applio.read_bytes(id, 3, back), statusOk);
    EXPECT_EQ(applio.read_chars(id, 1, back), statusOk);
    EXPECT_EQ(applio.read_shorts(id, 3, back), statusOk);
    EXPECT_EQ(applio.read_ints(id, 3, back), statusOk);
    EXPECT_EQ(applio.read_longs(id, 3, back), statusOk);
    EXPECT_EQ(s.readSizes, "3 1 6 12 24 ");
    EXPECT_EQ(applio.close(id, 0), statusOk);
    EXPECT_EQ(applio.write_bytes(id, 1, data), statusRefused);
}

} // namespace
} // namespace partconv
