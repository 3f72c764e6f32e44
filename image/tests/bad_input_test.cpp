#include "dvpimage/image2d.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

using namespace Image;
using Bytes = std::vector<std::uint8_t>;

namespace {

void expectFailure(const Bytes& bytes, const std::string& type) {
    Image2D fromMemory(2, 2, PF_L8);
    EXPECT_FALSE(fromMemory.Load(bytes.data(), bytes.size(), type));
    dvpimage_test::VectorStream stream(bytes);
    Image2D fromStream(2, 2, PF_L8);
    EXPECT_FALSE(fromStream.Load(stream, type));
    for (const Image2D* image : {&fromMemory, &fromStream}) {
        if (!type.empty()) { // a codec was named: its failure empties the image
            EXPECT_TRUE(image->IsEmpty());
            EXPECT_EQ(image->Format(), PF_UNKNOWN);
        }
    }
}

class BadInput : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
protected:
    static void SetUpTestSuite() { Init(); }
};

TEST_P(BadInput, GivesAnEmptyImageAndAFailure) {
    const auto& [file, type] = GetParam();
    const Bytes bytes = dvpimage_test::readFixture(file);
    expectFailure(bytes, type);
    expectFailure(bytes, "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BadInput,
                         ::testing::Values(std::pair{"zero_length.png", "png"},
                                           std::pair{"truncated.png", "png"}, std::pair{"corrupt.png", "png"},
                                           std::pair{"huge_dimensions.png", "png"},
                                           std::pair{"huge_dimensions.bmp", "bmp"},
                                           std::pair{"huge_dimensions.pgm", "pgm"}),
                         [](const auto& info) {
                             std::string name = info.param.first;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// Every fixture cut short at several points loads or fails without harm.
TEST(BadInputSweep, TruncatedFixturesNeverCrash) {
    Init();
    for (const auto& entry : std::filesystem::directory_iterator(DVPIMAGE_FIXTURES)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".py")
            continue;
        const Bytes bytes = dvpimage_test::readFixture(entry.path().filename().string());
        for (const std::size_t cut :
             {bytes.size(), bytes.size() / 2, bytes.size() * 3 / 4, std::size_t{40}}) {
            const Bytes head(bytes.begin(), bytes.begin() + std::min(cut, bytes.size()));
            Image2D image;
            dvpimage_test::VectorStream stream(head);
            if (!image.Load(stream, "")) {
                EXPECT_TRUE(image.IsEmpty()) << entry.path();
            }
        }
    }
}

// Files the fuzzer kept: PNM bytes handed to the TARGA codec by name crashed inside FreeImage, and one
// decoded slowly into a picture of hundreds of megapixels. Each is loaded by content and by every name
// the fuzz target uses; whatever loads is a whole picture.
TEST(BadInputSweep, FuzzFindingsLoadOrFailWithoutHarm) {
    Init();
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(DVPIMAGE_FIXTURES) + "/fuzz")) {
        const Bytes bytes = dvpimage_test::readFixture("fuzz/" + entry.path().filename().string());
        ++files;
        for (const char* type :
             {"", "png", "bmp", "jpg", "tif", "pgm", "ppm", "gif", "tga", "wbmp", "cut", "g3", "pcd"}) {
            Image2D image;
            dvpimage_test::VectorStream stream(bytes);
            const bool loaded = image.Load(stream, type);
            EXPECT_EQ(loaded, !image.IsEmpty()) << entry.path() << " as " << type;
            EXPECT_EQ(image.Size(), std::size_t{image.Width()} * image.Height() * (image.Bpp() / 8));
        }
    }
    EXPECT_GT(files, 0u);
}

} // namespace
