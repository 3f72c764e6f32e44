// A document's properties: kept through a save and a load, read from the properties section
// alone, and empty for files that do not hold a sound section.
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Dravik::DravikDocument2;

class Properties : public pal::test::SandboxTest {
protected:
    static fs::path fixture(const char* name) {
        return sourcePath(std::string("outside/DravikKernel/tests/fixtures/") + name);
    }
    static std::wstring w(const fs::path& p) { return pal::text::fromUtf8(p.string()); }
    static CDVPropertySet sample() {
        CDVPropertySet p;
        p.SetAuthor(L"Ирина Волкова");
        p.SetCompany(L"Works Ltd");
        p.SetComments(L"checked");
        p.SetTitle(L"Plate");
        p.SetSubject(L"Frame parts");
        p.SetCategory(L"Sheet");
        p.SetKeywords(L"plate; holes");
        return p;
    }
    // The bytes of a loaded prototype with the sample properties.
    std::string sampleBytes() {
        std::wstring error;
        auto doc = Dravik::grb::LoadFile(w(binDir() / "Prototypes/drawing.grb"), &error);
        EXPECT_NE(doc, nullptr) << pal::text::toUtf8(error);
        doc->SetProperties(sample());
        return Dravik::grb::Encode(*doc);
    }
    fs::path put(const char* name, const std::string& bytes) {
        const fs::path p = root() / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
};

TEST_F(Properties, KeptBySaveAndLoadAndReadAlone) {
    const fs::path file = put("plate.grb", sampleBytes());
    std::wstring error;
    auto loaded = Dravik::grb::LoadFile(w(file), &error);
    ASSERT_NE(loaded, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(loaded->GetProperties(), sample());
    EXPECT_EQ(DravikDocument2::ReadProperties(w(file).c_str()), sample());
}

TEST_F(Properties, TheBodyIsNotRead) {
    // The file ends right after its properties: a load fails, the properties still read.
    const std::string bytes = sampleBytes();
    const std::size_t sectionSize = *reinterpret_cast<const std::uint32_t*>(bytes.data() + 24 + 16);
    const fs::path cut = put("cut.grb", bytes.substr(0, 24 + 16 + 8 + sectionSize));
    std::wstring error;
    EXPECT_EQ(Dravik::grb::LoadFile(w(cut), &error), nullptr);
    EXPECT_EQ(DravikDocument2::ReadProperties(w(cut).c_str()), sample());
}

TEST_F(Properties, UnsoundFilesGiveEmptyTexts) {
    std::string damaged = sampleBytes();
    damaged[24 + 16 + 8 + 6] ^= 0x20; // inside the author's text
    std::string huge = sampleBytes();
    huge[24 + 16 + 3] = 0x7F; // a section size past the file
    ASSERT_EQ(::mkfifo((root() / "pipe.grb").c_str(), 0600), 0);
    const struct {
        const char* name;
        fs::path path;
    } cases[] = {
        {"missing", root() / "none.grb"},
        {"empty", put("empty.grb", "")},
        {"foreign", put("foreign.grb", "PK\x03\x04 a zip archive, not a drawing at all......")},
        {"damaged section", put("damaged.grb", damaged)},
        {"section larger than the file", put("huge.grb", huge)},
        {"written before properties", fixture("minimal.grb")},
        {"a folder", root()},
        {"a FIFO", root() / "pipe.grb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(DravikDocument2::ReadProperties(w(c.path).c_str()).IsEmpty());
    }
    EXPECT_TRUE(DravikDocument2::ReadProperties(nullptr).IsEmpty());
}

} // namespace
