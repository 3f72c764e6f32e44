// Text files read line by line or whole, whatever their encoding mark and line ends.
#include "Compression/TextFileReadStream.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

class TextFileReadStreamTest : public pal::test::SandboxTest {
protected:
    std::wstring write(const std::string& bytes) {
        const auto path = root() / "text.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }
    std::vector<std::wstring> lines(const std::string& bytes) {
        dvio::TextFileReadStream stream;
        EXPECT_TRUE(stream.Open(write(bytes), 32, 0, true));
        std::vector<std::wstring> out;
        std::wstring line;
        while (stream.ReadString(line))
            out.push_back(line);
        return out;
    }
};

TEST_F(TextFileReadStreamTest, LinesEndAtAnyLineEndInEveryEncoding) {
    using Lines = std::vector<std::wstring>;
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"one", {L"one"}},
        {"one\ntwo\n", {L"one", L"two"}},
        {"one\r\ntwo\rthree", {L"one", L"two", L"three"}},
        {"\n\n", {L"", L""}},
        {"\xEF\xBB\xBF\xD0\xBB\xD0\xB8\xD0\xBD\xD0\xB8\xD1\x8F\n", {L"линия"}},
        {std::string("\xFF\xFEl\0i\0\n\0n\0", 10), {L"li", L"n"}},
        {"caf\xE9\n", {L"caf\uFFFD"}},
        {std::string("a\0b\n", 4), {std::wstring(L"a\0b", 3)}},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(lines(bytes), expected) << bytes;
}

TEST_F(TextFileReadStreamTest, AMissingFileAnUnknownEncodingOrAnOverlongRestFail) {
    dvio::TextFileReadStream stream;
    EXPECT_FALSE(stream.Open((root() / "missing.txt").wstring(), 32, 0, true));
    EXPECT_FALSE(stream.Open(write("text"), 32, 1, true));
    std::wstring text;
    EXPECT_FALSE(stream.ReadAll(text)) << "nothing is open";
    ASSERT_TRUE(
        stream.Open(write(std::string(dvio::TextFileReadStream::kMaxWholeText + 1, 'a')), 32, 0, true));
    EXPECT_FALSE(stream.ReadAll(text));
    ASSERT_TRUE(stream.Open(write("first\nrest\nof it"), 32, 0, true));
    ASSERT_TRUE(stream.ReadString(text));
    ASSERT_TRUE(stream.ReadAll(text));
    EXPECT_EQ(text, L"rest\nof it");
}

} // namespace
