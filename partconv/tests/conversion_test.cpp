// Whole conversions in this process: partition files made here, part files taken apart.
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "partconv/run.h"
#include "pskernel/test/reset.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace partconv {
namespace {

namespace fs = std::filesystem;
using pskernel::content::Item;
using pskernel::content::Kind;
using namespace partconv::testing;

class ConversionTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        host_.files.setClock(fixedDate);
        errors_ = std::tmpfile();
    }
    void TearDown() override {
        // The kernel gives its memory back through this test's host before the host goes.
        pskernel::test::resetSession();
        std::fclose(errors_);
        SandboxTest::TearDown();
    }

    static constexpr const wchar_t* stem = L"C:\\work\\Model";
    fs::path input() const { return pal::path::toNative(std::wstring(stem) + L".xmp_bin"); }
    fs::path output() const { return pal::path::toNative(std::wstring(stem) + L".xmt_bin"); }

    void writeInput(const std::string& bytes) const {
        fs::create_directories(input().parent_path());
        std::ofstream(input(), std::ios::binary) << bytes;
    }
    int convert() { return run(stem, host_, errors_); }
    std::vector<std::string> errorLines() const {
        std::rewind(errors_);
        std::vector<std::string> lines;
        char line[1024];
        while (std::fgets(line, sizeof line, errors_))
            lines.emplace_back(line);
        return lines;
    }

    Host host_;
    std::FILE* errors_ = nullptr;
};

std::vector<std::string> expectedHeader(int count, const std::string& fileName) {
    return {
        "**ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz**************************",
        "**PARASOLID !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~0123456789**************************",
        "**PART1;",
        "MC=x86;",
        "MC_MODEL=AMD_X64;",
        "MC_ID=unknown;",
        "OS=MS_WINDOWS;",
        "OS_RELEASE=unknown;",
        "FRU=Dravik;",
        "APPL=PartConv " DV_PROJECT_VERSION ";",
        "SITE=unknown;",
        "USER=unknown;",
        "FORMAT=binary;",
        "GUISE=transmit;",
        "KEY=unicode filename;",
        "FILE=" + fileName + ";",
        "DATE=7-okt-2025;",
        "**PART2;",
        "CONTENT=part;",
        "COUNT=" + std::to_string(count) + ";",
        "**PART3;",
        "**END_OF_HEADER*****************************************************************",
    };
}

struct ConversionCase {
    const char* name;
    std::vector<Item> entities;
    // The entity numbers of the expected parts, in part-file order.
    std::vector<std::uint32_t> expectedOrder;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << c.name;
}

class ConversionCases : public ConversionTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConversionCases, WritesAssembliesFirstThenBodies) {
    const ConversionCase& c = GetParam();
    writeInput(partitionHeader("model.xmp_bin") + pskernel::content::encodePartition(c.entities));

    ASSERT_EQ(convert(), exitConverted);
    EXPECT_THAT(errorLines(), ::testing::IsEmpty());

    const PartFile part = splitPartFile(pal::test::readFile(output()));
    EXPECT_EQ(part.headerLines, expectedHeader(static_cast<int>(c.expectedOrder.size()), "model.xmp_bin"));
    ASSERT_TRUE(part.decoded);
    ASSERT_EQ(part.parts.size(), c.expectedOrder.size());

    // Tags are the kernel's; an instance must name the tag of the part it instanced.
    std::map<std::uint32_t, std::uint32_t> numberOfTag;
    for (std::size_t i = 0; i < part.parts.size(); ++i)
        numberOfTag[part.parts[i].tag] = c.expectedOrder[i];
    for (std::size_t i = 0; i < part.parts.size(); ++i) {
        const Item& got = part.parts[i];
        const Item& want = c.entities[c.expectedOrder[i] - 1];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.kind, want.kind);
        EXPECT_EQ(got.geometry, want.geometry);
        EXPECT_EQ(got.bodyType, want.bodyType);
        ASSERT_EQ(got.instances.size(), want.instances.size());
        for (std::size_t k = 0; k < got.instances.size(); ++k) {
            EXPECT_EQ(numberOfTag[got.instances[k].target], want.instances[k].target);
            EXPECT_EQ(got.instances[k].transform[11], want.instances[k].transform[11]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Partitions, ConversionCases,
    ::testing::Values(ConversionCase{"BodiesOnly", {body("cube"), body("sphere", 2), body("")}, {1, 2, 3}},
                      ConversionCase{"AssembliesWithInstances",
                                     {body("bolt"), assembly({1, 1}), body("nut", 3), assembly({2, 3}),
                                      body("washer", 4)},
                                     {2, 4, 1, 3, 5}},
                      ConversionCase{"Empty", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConversionTest, PartitionWithoutHeaderIsReadFromItsFirstByte) {
    writeInput(pskernel::content::encodePartition({body("plain")}));
    ASSERT_EQ(convert(), exitConverted);
    const PartFile part = splitPartFile(pal::test::readFile(output()));
    EXPECT_THAT(part.headerLines, ::testing::Contains("FILE=unicode filename;"));
    ASSERT_TRUE(part.decoded);
    ASSERT_EQ(part.parts.size(), 1u);
    EXPECT_EQ(part.parts[0].geometry, "plain");
}

TEST_F(ConversionTest, TheReceiveIsRecordedAsAClosedDelta) {
    writeInput(pskernel::content::encodePartition({body("a"), body("b")}));
    ASSERT_EQ(convert(), exitConverted);
    // One delta of five bytes per entity, closed: it reads back in full.
    ASSERT_EQ(host_.deltas.tableSize(), 8u);
    ASSERT_EQ(host_.deltas.openForRead(1), deltaOk);
    char bytes[10];
    EXPECT_EQ(host_.deltas.read(1, sizeof bytes, bytes), deltaOk);
    EXPECT_EQ(bytes[0], static_cast<char>(Kind::body));
    EXPECT_EQ(host_.deltas.close(1), deltaOk);
}

// Files that cannot be received: no part file appears, an earlier one keeps its bytes, and
// the run ends with one line on standard error.
struct BadInput {
    const char* name;
    std::string bytes; // empty: no input file at all
    bool stemTooLong = false;
};

void PrintTo(const BadInput& c, std::ostream* os) {
    *os << c.name;
}

class BadInputs : public ConversionTest, public ::testing::WithParamInterface<BadInput> {};

std::string validPartition() {
    return partitionHeader("x.xmp_bin") + pskernel::content::encodePartition({body("cube"), assembly({1})});
}

// Fixtures are read while the cases are built, before any sandbox exists.
std::string fixture(const std::string& name) {
    const char* source = std::getenv("DV_SOURCE_DIR");
    return pal::test::readFile(fs::path(source && *source ? source : DV_SOURCE_DIR) /
                               "partconv/tests/fixtures" / name);
}

TEST_P(BadInputs, LeaveNoPartFileAndReportOneLine) {
    const BadInput& c = GetParam();
    ASSERT_TRUE(!c.bytes.empty() || std::string(c.name) == "Missing" || std::string(c.name) == "EmptyFile")
        << "fixture not found";
    for (const bool earlierOutput : {false, true}) {
        SCOPED_TRACE(earlierOutput ? "with an earlier part file" : "without an earlier part file");
        pskernel::test::resetSession();
        std::error_code ec;
        fs::remove(input(), ec);
        fs::remove(output(), ec);
        fs::create_directories(input().parent_path());
        if (!c.stemTooLong && (!c.bytes.empty() || std::string(c.name) == "EmptyFile"))
            writeInput(c.bytes);
        if (earlierOutput)
            std::ofstream(output(), std::ios::binary) << "earlier part";
        std::rewind(errors_);
        ::ftruncate(fileno(errors_), 0);

        int code;
        if (c.stemTooLong) {
            // Every folder name is short, so only the kernel's name limit stands in the way.
            std::wstring longStem = L"C:\\work";
            for (int i = 0; i < 30; ++i)
                longStem += L"\\abcdefgh";
            longStem += L"\\Model";
            const fs::path longInput = pal::path::toNative(longStem + L".xmp_bin");
            fs::create_directories(longInput.parent_path());
            std::ofstream(longInput, std::ios::binary) << c.bytes;
            code = run(longStem, host_, errors_);
            EXPECT_FALSE(fs::exists(pal::path::toNative(longStem + L".xmt_bin")));
        } else {
            code = convert();
        }

        EXPECT_EQ(code, exitNotReceived);
        const auto lines = errorLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_THAT(lines[0], ::testing::StartsWith("PartConv: cannot receive the partition"));
        if (earlierOutput)
            EXPECT_EQ(pal::test::readFile(output()), "earlier part");
        else
            EXPECT_FALSE(fs::exists(output()));
        EXPECT_EQ(host_.files.openCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputs,
    ::testing::Values(BadInput{"Missing", ""}, BadInput{"EmptyFile", ""},
                      BadInput{"HeaderWithoutEnd", partitionHeader("x").substr(0, 200)},
                      BadInput{"Truncated", validPartition().substr(0, validPartition().size() - 7)},
                      BadInput{"BadMagic", "PXMQ" + validPartition().substr(4)},
                      BadInput{"TrailingBytes", validPartition() + "z"},
                      BadInput{"HugeCount", std::string("PXMP\xff\xff\xff\x7f", 8) + std::string(40, '\x01')},
                      BadInput{"ForwardInstance", pskernel::content::encodePartition({assembly({1})})},
                      BadInput{"UnknownKind", std::string("PXMP\x01\x00\x00\x00\x07", 9)},
                      BadInput{"StemTooLong", validPartition(), true},
                      BadInput{"HeaderOnly", fixture("header_only.xmp_bin")},
                      BadInput{"HugeGeometryLength", fixture("huge_geometry_length.xmp_bin")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConversionTest, AnUnwritablePartFileEndsWithItsOwnCodeAndLine) {
    writeInput(validPartition());
    fs::create_directories(output()); // a folder where the part file should go
    EXPECT_EQ(convert(), exitNotWritten);
    const auto lines = errorLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0], ::testing::StartsWith("PartConv: cannot write the part file"));
    EXPECT_TRUE(fs::is_directory(output()));
    EXPECT_EQ(host_.files.openCount(), 0);
}

} // namespace
} // namespace partconv
