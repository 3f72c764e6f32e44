#include "dvpimage/image2d.h"

#include "test_support.h"

#include "DVDiagnostics/test/hooks.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

using namespace Image;
using Bytes = std::vector<std::uint8_t>;
using dvpimage_test::fnv1a;
using dvpimage_test::readFixture;
using dvpimage_test::VectorStream;

namespace {

class ImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Init(); }
};

// The fixture pictures are 4 x 3; their pixels follow the formulas of make_fixtures.py, with y from
// the top of the picture. FreeImage's first scan line, and so the image's first row, is the bottom.
constexpr int W = 4, H = 3;
std::uint8_t grey8(int x, int y) {
    return static_cast<std::uint8_t>(x * 20 + y * 70 + 7);
}
std::uint16_t grey16(int x, int y) {
    return static_cast<std::uint16_t>(x * 4000 + y * 20000 + 123);
}
Bytes rgb(int x, int y) {
    return {static_cast<std::uint8_t>(x * 60), static_cast<std::uint8_t>(y * 100),
            static_cast<std::uint8_t>(200 - x * 10 - y * 20)};
}
std::uint8_t alpha(int x, int y) {
    return static_cast<std::uint8_t>(255 - x * 50 - y * 10);
}
const Bytes kPalette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};

using PixelBytes = std::function<Bytes(int x, int y)>;

Bytes bgr(const Bytes& c) {
    return {c[2], c[1], c[0]};
}

Bytes picture(const PixelBytes& pixel) {
    Bytes out;
    for (int row = 0; row < H; ++row)
        for (int x = 0; x < W; ++x) {
            const Bytes p = pixel(x, H - 1 - row);
            out.insert(out.end(), p.begin(), p.end());
        }
    return out;
}

struct Fixture {
    const char* file;
    const char* type;
    PixelFormat format;
    PixelBytes pixel;
};

const Fixture kFixtures[] = {
    {"grey8.png", "png", PF_L8, [](int x, int y) { return Bytes{grey8(x, y)}; }},
    {"grey16.png", "png", PF_R16,
     [](int x, int y) {
         return Bytes{static_cast<std::uint8_t>(grey16(x, y)), static_cast<std::uint8_t>(grey16(x, y) >> 8)};
     }},
    {"rgb.png", "png", PF_R8G8B8, [](int x, int y) { return bgr(rgb(x, y)); }},
    {"rgba.png", "png", PF_A8R8G8B8,
     [](int x, int y) {
         Bytes p = bgr(rgb(x, y));
         p.push_back(alpha(x, y));
         return p;
     }},
    {"palette.png", "png", PF_R8G8B8, [](int x, int y) { return bgr(kPalette[(x + y) % 4]); }},
    {"bw1.png", "png", PF_L8,
     [](int x, int y) { return Bytes{static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0)}; }},
    {"rgb24.bmp", "bmp", PF_R8G8B8, [](int x, int y) { return bgr(rgb(x, y)); }},
    {"grey16.pgm", "pgm", PF_R16,
     [](int x, int y) {
         return Bytes{static_cast<std::uint8_t>(grey16(x, y)), static_cast<std::uint8_t>(grey16(x, y) >> 8)};
     }},
    {"rgb.ppm", "ppm", PF_R8G8B8, [](int x, int y) { return bgr(rgb(x, y)); }},
    {"bw.pbm", "pbm", PF_L8,
     [](int x, int y) { return Bytes{static_cast<std::uint8_t>((x + y) % 2 ? 0 : 255)}; }},
};

void expectPicture(const Image2D& image, const Fixture& f) {
    const Bytes expected = picture(f.pixel);
    ASSERT_FALSE(image.IsEmpty());
    EXPECT_EQ(image.Format(), f.format);
    EXPECT_EQ(image.Width(), unsigned(W));
    EXPECT_EQ(image.Height(), unsigned(H));
    ASSERT_EQ(image.Size(), expected.size());
    const auto* bits = static_cast<const std::uint8_t*>(image.Bits());
    EXPECT_EQ(Bytes(bits, bits + image.Size()), expected);
    EXPECT_EQ(image.GetCrc(), fnv1a(expected.data(), expected.size()));
}

TEST_F(ImageTest, FixturesLoadByTypeNameByContentAndThroughAStream) {
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.file);
        const Bytes bytes = readFixture(f.file);
        ASSERT_FALSE(bytes.empty());

        Image2D byName;
        EXPECT_TRUE(byName.Load(bytes.data(), bytes.size(), f.type));
        expectPicture(byName, f);

        Image2D upperName;
        EXPECT_TRUE(
            upperName.Load(bytes.data(), bytes.size(), std::string(f.type) == "png" ? "PNG" : f.type));
        EXPECT_EQ(upperName.GetCrc(), byName.GetCrc());

        VectorStream stream(bytes);
        Image2D byStream;
        EXPECT_TRUE(byStream.Load(stream, ""));
        expectPicture(byStream, f);

        Image2D byContent;
        if (bytes.size() > 32) {
            EXPECT_TRUE(byContent.Load(bytes.data(), bytes.size(), "no-such-type"));
            expectPicture(byContent, f);
        } else {
            // Too short to be recognised in memory: the image is left as it was.
            EXPECT_FALSE(byContent.Load(bytes.data(), bytes.size(), ""));
            EXPECT_EQ(byContent.GetCrc(), 0u);
        }
    }
}

TEST_F(ImageTest, MemoryOfThirtyTwoBytesOrFewerIsNotRecognised) {
    const Bytes bytes = readFixture("bw.pbm");
    Image2D image(1, 1, PF_L8);
    EXPECT_FALSE(image.Load(bytes.data(), bytes.size(), ""));
    EXPECT_EQ(image.Width(), 1u); // unchanged
}

TEST_F(ImageTest, ContentLookupLeavesAShortStreamWhereItWas) {
    VectorStream stream(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    stream.Skip(4);
    Image2D image;
    EXPECT_FALSE(image.Load(stream, ""));
    EXPECT_EQ(stream.position(), 4u);
}

// FreeImage writes the picture; the library reads it back.
Bytes encodeWithFreeImage(FIBITMAP* dib, FREE_IMAGE_FORMAT fif, int flags = 0) {
    FIMEMORY* memory = FreeImage_OpenMemory();
    EXPECT_TRUE(FreeImage_SaveToMemory(fif, dib, memory, flags));
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory, &data, &size);
    Bytes out(data, data + size);
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(dib);
    return out;
}

TEST_F(ImageTest, JpegLoadsAsTwentyFourBitColour) {
    FIBITMAP* dib = FreeImage_Allocate(16, 8, 24);
    for (unsigned y = 0; y < 8; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
        for (unsigned x = 0; x < 16; ++x)
            line[3 * x] = 50, line[3 * x + 1] = 100, line[3 * x + 2] = 200;
    }
    const Bytes jpeg = encodeWithFreeImage(dib, FIF_JPEG, JPEG_QUALITYSUPERB);
    Image2D image;
    ASSERT_TRUE(image.Load(jpeg.data(), jpeg.size(), ""));
    EXPECT_EQ(image.Format(), PF_R8G8B8);
    EXPECT_EQ(image.Width(), 16u);
    Color c;
    image.GetPixel(7, 5, c);
    EXPECT_NEAR(c.r, 200, 3);
    EXPECT_NEAR(c.g, 100, 3);
    EXPECT_NEAR(c.b, 50, 3);
}

TEST_F(ImageTest, TiffLoadsSixteenBitGreyAndColourExactly) {
    FIBITMAP* grey = FreeImage_AllocateT(FIT_UINT16, 3, 2, 16);
    for (unsigned y = 0; y < 2; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(FreeImage_GetScanLine(grey, static_cast<int>(y)));
        for (unsigned x = 0; x < 3; ++x)
            line[x] = static_cast<std::uint16_t>(1000 * x + 30000 * y + 1);
    }
    const Bytes tiff = encodeWithFreeImage(grey, FIF_TIFF);
    Image2D image;
    ASSERT_TRUE(image.Load(tiff.data(), tiff.size(), "TIF"));
    EXPECT_EQ(image.Format(), PF_R16);
    const auto* words = static_cast<const std::uint16_t*>(image.Bits());
    EXPECT_EQ(words[2], 2001);
    EXPECT_EQ(words[4], 31001);

    FIBITMAP* colour = FreeImage_Allocate(2, 1, 24);
    BYTE* line = FreeImage_GetScanLine(colour, 0);
    const BYTE pixels[6] = {1, 2, 3, 4, 5, 6};
    std::copy(pixels, pixels + 6, line);
    const Bytes tiff24 = encodeWithFreeImage(colour, FIF_TIFF);
    Image2D rgb24;
    ASSERT_TRUE(rgb24.Load(tiff24.data(), tiff24.size(), ""));
    EXPECT_EQ(rgb24.Format(), PF_R8G8B8);
    const auto* bits = static_cast<const std::uint8_t*>(rgb24.Bits());
    EXPECT_EQ(Bytes(bits, bits + 6), Bytes(pixels, pixels + 6));
}

// WBMP, CUT, G3 and PCD carry nothing FreeImage can recognise them by: named, they still decode.
TEST_F(ImageTest, FormatWithoutAContentCheckLoadsByName) {
    FIBITMAP* dib = FreeImage_Allocate(64, 8, 1);
    RGBQUAD* palette = FreeImage_GetPalette(dib);
    palette[1] = RGBQUAD{255, 255, 255, 0};
    FreeImage_GetScanLine(dib, 0)[0] = 0xA0; // white, black, white, then black
    const Bytes wbmp = encodeWithFreeImage(dib, FIF_WBMP);
    ASSERT_GT(wbmp.size(), 32u);
    for (const char* type : {"wbmp", "WAP"}) {
        SCOPED_TRACE(type);
        Image2D image;
        ASSERT_TRUE(image.Load(wbmp.data(), wbmp.size(), type));
        EXPECT_EQ(image.Format(), PF_L8);
        EXPECT_EQ(image.Width(), 64u);
        EXPECT_EQ(image.Height(), 8u);
        const auto* bits = static_cast<const std::uint8_t*>(image.Bits());
        EXPECT_EQ(Bytes(bits, bits + 5), (Bytes{255, 0, 255, 0, 0}));
    }
    // Nothing recognises the bytes, so without a name the image is left as it was.
    Image2D unnamed(1, 1, PF_L8);
    EXPECT_FALSE(unnamed.Load(wbmp.data(), wbmp.size(), ""));
    EXPECT_EQ(unnamed.Width(), 1u);
}

// An image whose pixels are the numbers 0, 1, 2, ... in every byte.
Image2D patterned(std::uint32_t w, std::uint32_t h, PixelFormat format) {
    Image2D image(w, h, format);
    auto* bits = static_cast<std::uint8_t*>(image.Bits());
    for (std::size_t i = 0; i < image.Size(); ++i)
        bits[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return image;
}

Image2D saveAndLoad(const Image2D& image, const std::string& type) {
    VectorStream stream;
    EXPECT_TRUE(image.Save(stream, type)) << type;
    Image2D back;
    EXPECT_TRUE(back.Load(stream.bytes().data(), stream.bytes().size(), type)) << type;
    return back;
}

TEST_F(ImageTest, LosslessFormatsRoundTripEveryByte) {
    struct Case {
        PixelFormat format;
        const char* type;
    };
    const Case cases[] = {
        {PF_L8, "png"}, {PF_R8G8B8, "png"},    {PF_A8R8G8B8, "png"}, {PF_R8G8B8, "bmp"}, {PF_A8R8G8B8, "bmp"},
        {PF_L8, "bmp"}, {PF_FLOAT32_R, "tif"}, {PF_R8G8B8, "ppm"},   {PF_R8G8B8, "tga"}, {PF_L8, "pgm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Pixels::GetFormatName(c.format)) + " as " + c.type);
        const Image2D image = patterned(5, 3, c.format);
        const Image2D back = saveAndLoad(image, c.type);
        EXPECT_EQ(back.Format(), c.format);
        EXPECT_EQ(back.GetCrc(), image.GetCrc());
    }
}

// Red-first formats are written with red as red: reloaded, every pixel reads the same colour.
TEST_F(ImageTest, RedFirstFormatsAreNotSavedWithRedAndBlueSwapped) {
    for (const PixelFormat format : {PF_B8G8R8, PF_A8B8G8R8}) {
        SCOPED_TRACE(Pixels::GetFormatName(format));
        const Image2D image = patterned(4, 2, format);
        const Image2D back = saveAndLoad(image, "png");
        EXPECT_EQ(back.Format(), format == PF_B8G8R8 ? PF_R8G8B8 : PF_A8R8G8B8);
        for (std::uint32_t y = 0; y < 2; ++y)
            for (std::uint32_t x = 0; x < 4; ++x) {
                Color a, b;
                image.GetPixel(x, y, a);
                back.GetPixel(x, y, b);
                EXPECT_EQ(std::tie(a.r, a.g, a.b, a.a), std::tie(b.r, b.g, b.b, b.a)) << x << "," << y;
            }
    }
}

// A picture is saved only where FreeImage says both that the file format takes its kind of bitmap
// and that it takes its depth. Whatever fails writes nothing: 16-bit grey in particular is never
// narrowed to an 8-bit picture.
TEST_F(ImageTest, SaveThatCannotBeDoneReportsFailureAndWritesNothing) {
    struct Case {
        PixelFormat format;
        const char* type;
        const char* why;
    };
    const Case cases[] = {
        {PF_R5G6B5, "png", "no bitmap for this format"},
        {PF_R8G8B8, "", "no type"},
        {PF_R8G8B8, "no-such-type", "no codec"},
        {PF_FLOAT32_RGBA, "gif", "GIF holds no float colour"},
        {PF_R8G8B8, "pcx", "read-only format"},
        {PF_L16, "bmp", "no 16-bit grey"},
        {PF_L16, "jpg", "no 16-bit grey"},
        {PF_R16, "bmp", "no 16-bit grey"},
        {PF_L16, "png", "16-bit grey, but not at a depth of 16 bits"},
        {PF_R16, "tif", "16-bit grey, but not at a depth of 16 bits"},
        {PF_R16, "pgm", "16-bit grey, but not at a depth of 16 bits"},
        {PF_SHORT_RGB, "png", "16-bit colour, but not at a depth of 48 bits"},
        {PF_SHORT_RGBA, "png", "16-bit colour, but not at a depth of 64 bits"},
        {PF_FLOAT32_RGB, "tif", "float colour, but not at a depth of 96 bits"},
        {PF_A8R8G8B8, "gif", "no 32-bit depth"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Pixels::GetFormatName(c.format)) + " as \"" + c.type + "\": " + c.why);
        VectorStream stream;
        EXPECT_FALSE(patterned(2, 2, c.format).Save(stream, c.type));
        EXPECT_TRUE(stream.bytes().empty());
    }
    VectorStream stream;
    EXPECT_FALSE(Image2D().Save(stream, "png"));
    EXPECT_TRUE(stream.bytes().empty());
}

TEST_F(ImageTest, ResolutionSurvivesASave) {
    const Bytes bmp = readFixture("rgb24.bmp");
    Image2D image;
    ASSERT_TRUE(image.Load(bmp.data(), bmp.size(), "bmp"));
    EXPECT_EQ(image.Dpm(), 2835u);
    EXPECT_EQ(saveAndLoad(image, "png").Dpm(), 2835u);
}

// A stream of several MiB that hands out small reads is decoded whole.
TEST_F(ImageTest, StreamLongerThanOneMebibyteLoadsWhole) {
    FIBITMAP* dib = FreeImage_Allocate(1024, 700, 24);
    std::mt19937 random(7);
    for (unsigned y = 0; y < 700; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
        for (unsigned i = 0; i < 1024 * 3; ++i)
            line[i] = static_cast<BYTE>(random());
    }
    const Bytes png = encodeWithFreeImage(dib, FIF_PNG, PNG_Z_NO_COMPRESSION);
    ASSERT_GT(png.size(), 2u * 1048576);
    Image2D fromMemory;
    ASSERT_TRUE(fromMemory.Load(png.data(), png.size(), "png"));
    VectorStream stream(png, 4096);
    Image2D fromStream;
    ASSERT_TRUE(fromStream.Load(stream, "png"));
    EXPECT_EQ(fromStream.Height(), 700u);
    EXPECT_EQ(fromStream.GetCrc(), fromMemory.GetCrc());
}

// FreeImage's own messages and those of the libraries under it are the log's, never standard
// error's: libtiff warns of a tag it does not know, FreeImage of a damaged PNG.
TEST_F(ImageTest, MessagesOfTheDecodersGoToTheLogNotToStandardError) {
    struct Case {
        const char* file;
        const char* type;
        bool loads;
        const char* logged; // the beginning of the line in the log, after level and time
        const char* naming; // a text the line holds
    };
    const Case cases[] = {
        {"unknown_tag.tif", "tif", true, "libtiff TIFFReadDirectory: ", "65000"},
        {"corrupt.png", "png", false, "FreeImage PNG: ", "IDAT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = readFixture(c.file);
        ASSERT_FALSE(bytes.empty());
        dvlog::test::clearCapture();
        std::fflush(stderr);
        const std::filesystem::path errors = std::filesystem::temp_directory_path() /
                                             ("dvpimage-stderr-" + std::to_string(::getpid()) + ".txt");
        const int saved = ::dup(2);
        const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(file, 0);
        ::dup2(file, 2);
        ::close(file);
        Image2D image;
        const bool loaded = image.Load(bytes.data(), bytes.size(), c.type);
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
        const std::string written = dvpimage_test::readText(errors);
        std::filesystem::remove(errors);

        EXPECT_EQ(loaded, c.loads);
        EXPECT_EQ(written, "");
        bool logged = false;
        for (const auto& line : dvlog::test::captured())
            logged =
                logged || (line.text.starts_with(c.logged) && line.text.find(c.naming) != std::string::npos);
        EXPECT_TRUE(logged) << "the message is in the log";
    }
}

TEST(Image2D, SizedImageCopiesMovesAndChecksum) {
    Image2D none;
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.Format(), PF_UNKNOWN);
    EXPECT_EQ(none.Bits(), nullptr);
    EXPECT_EQ(none.GetCrc(), 0u);
    EXPECT_EQ(Image2D(0, 5, PF_L8).GetCrc(), 2166136261u); // data, but no pixel bytes
    EXPECT_TRUE(Image2D(0, 5, PF_L8).IsEmpty());

    Image2D image(3, 2, PF_A8R8G8B8);
    EXPECT_EQ(image.Size(), 24u);
    EXPECT_EQ(image.Bpp(), 32u);
    const PixelBox box = image.GetPixelBox();
    EXPECT_EQ(box.extent, Box(0, 0, 0, 3, 2, 1));
    EXPECT_EQ(box.rowPitch, 3u);
    EXPECT_EQ(box.slicePitch, 6u);
    EXPECT_EQ(box.data, image.Bits());

    Image2D letter(1, 1, PF_L8);
    *static_cast<std::uint8_t*>(letter.Bits()) = 'a';
    EXPECT_EQ(letter.GetCrc(), 0xE40C292Cu); // FNV-1a of "a"

    Image2D copy(letter);
    *static_cast<std::uint8_t*>(copy.Bits()) = 'b';
    EXPECT_EQ(letter.GetCrc(), 0xE40C292Cu); // deep copy
    copy = image;
    EXPECT_EQ(copy.Size(), 24u);
    Image2D moved(std::move(copy));
    EXPECT_EQ(moved.Size(), 24u);
    EXPECT_TRUE(copy.IsEmpty()); // NOLINT: moved-from holds no data
    moved = Image2D();
    EXPECT_EQ(moved.Format(), PF_UNKNOWN);
}

TEST(Image2D, ImageTooLargeToAddressIsRefused) {
    EXPECT_TRUE(Image2D(65536, 65536, PF_A8R8G8B8).IsEmpty()); // 16 GiB; 0 in 32-bit arithmetic
    EXPECT_EQ(Image2D(65536, 65536, PF_L8).Format(), PF_UNKNOWN);
    EXPECT_EQ(Image2D(0xFFFFFFFFu, 2, PF_L8).Size(), 0u);
}

TEST(Image2D, PixelAccessOutsideTheImageDoesNothing) {
    Image2D image(2, 2, PF_R8G8B8);
    for (const auto& [x, y] :
         {std::pair{2u, 0u}, {0u, 2u}, {5u, 5u}, {0xFFFFFFFFu, 0xFFFFFFFFu}, {0x80000000u, 1u}}) {
        image.SetPixel(x, y, Color{1, 2, 3, 4});
        image.SetPixel(x, y, ColorF{1, 1, 1, 1});
        Color c{9, 9, 9, 9};
        image.GetPixel(x, y, c);
        EXPECT_EQ(c.r, 9);
        ColorF f{0.5f, 0.5f, 0.5f, 0.5f};
        image.GetPixel(x, y, f);
        EXPECT_EQ(f.r, 0.5f);
    }
    EXPECT_EQ(image.GetCrc(), fnv1a(Bytes(12, 0).data(), 12));
    image.SetPixel(1, 1, Color{1, 2, 3, 4});
    Color c;
    image.GetPixel(1, 1, c);
    EXPECT_EQ(std::tie(c.r, c.g, c.b, c.a),
              std::make_tuple(std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{3}, std::uint8_t{255}));
}

} // namespace
