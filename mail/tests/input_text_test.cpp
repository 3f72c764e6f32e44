// Standard input arrives in reads of whatever size the pipe gives; the text must not depend on
// where those reads end.
#include "input_text.h"

#include "pal/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// Serves `bytes` in reads of the given sizes (the last size repeats), then ends with `ending`.
struct ScriptedInput {
    ScriptedInput(std::string b, std::vector<size_t> s, long e = 0)
        : bytes(std::move(b)), sizes(std::move(s)), ending(e) {}

    std::string bytes;
    std::vector<size_t> sizes;
    long ending;
    size_t offset = 0;
    size_t call = 0;
    std::vector<size_t> requested;

    long operator()(char* buffer, size_t size) {
        requested.push_back(size);
        if (offset == bytes.size())
            return ending;
        size_t n = sizes.empty() ? size : sizes[std::min(call, sizes.size() - 1)];
        n = std::min({n, size, bytes.size() - offset});
        ++call;
        std::memcpy(buffer, bytes.data() + offset, n);
        offset += n;
        return static_cast<long>(n);
    }
};

std::wstring readAll(ScriptedInput& input) {
    return dvmail::readInputText([&](char* b, size_t n) { return input(b, n); });
}

const std::wstring kText = L"Hello, Мир \U0001F600 end";

TEST(InputText, ReadsWholeChunksOfTheStatedSize) {
    std::wstring big(5000, L'ж');
    ScriptedInput input{pal::text::toUtf16leBytes(big), {}};
    EXPECT_EQ(readAll(input), big);
    EXPECT_EQ(input.requested.size(), 4u); // 4096 + 4096 + 1808 bytes, then the empty read
    for (size_t n : input.requested)
        EXPECT_EQ(n, dvmail::kInputChunkBytes);
}

TEST(InputText, ReadsThatEndInsideACharacterKeepTheText) {
    // Odd reads split code units, and a read boundary falls inside the surrogate pair.
    for (size_t size : {1u, 3u, 7u, 25u}) {
        ScriptedInput input{pal::text::toUtf16leBytes(kText), {size}};
        EXPECT_EQ(readAll(input), kText) << "reads of " << size << " bytes";
    }
}

TEST(InputText, AnOddLastByteIsDropped) {
    ScriptedInput input{pal::text::toUtf16leBytes(L"World") + "\x41", {}};
    EXPECT_EQ(readAll(input), L"World");
}

TEST(InputText, AFailedReadEndsTheText) {
    ScriptedInput input{pal::text::toUtf16leBytes(L"World"), {4}, -1};
    EXPECT_EQ(readAll(input), L"World");
    ScriptedInput failing{"", {}, -1};
    EXPECT_EQ(readAll(failing), L"");
}

TEST(InputText, TextIsTakenAsItIsWithoutAByteOrderMark) {
    // The caller writes no mark; a leading U+FEFF would be the caller's own character.
    ScriptedInput input{pal::text::toUtf16leBytes(L"A\r\nB\0C"s), {}};
    EXPECT_EQ(readAll(input), L"A\r\nB\0C"s);
}

} // namespace
