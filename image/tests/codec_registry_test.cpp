#include "dvpimage/codec.h"
#include "dvpimage/image2d.h"

#include "test_support.h"

#include <gtest/gtest.h>

using namespace Image;

namespace {

// A codec that answers a fixed type name for every content.
class FakeCodec : public Codec {
public:
    FakeCodec(std::string name, std::string answer) : name_(std::move(name)), answer_(std::move(answer)) {}
    ImageData Decode(IStream&) override { return {}; }
    ImageData Decode(const void*, std::size_t) override { return {}; }
    std::unique_ptr<IStream> Encode(const ImageData&) override { return nullptr; }
    std::string GetName() const override { return name_; }
    bool CanDecode(const void* data, std::size_t size) override { return !GetTypeName(data, size).empty(); }
    std::string GetTypeName(const void*, std::size_t) override { return answer_; }

private:
    std::string name_, answer_;
};

TEST(CodecManager, NamesAreCaseInsensitiveAndTheLastRegistrationWins) {
    CodecManager codecs;
    FakeCodec first("PNG", ""), second("png", "");
    codecs.Register(&first);
    EXPECT_TRUE(codecs.IsRegistered("png"));
    EXPECT_TRUE(codecs.IsRegistered("Png"));
    EXPECT_EQ(codecs.Find("pNg"), &first);
    codecs.Register(&second);
    EXPECT_EQ(codecs.Find("PNG"), &second);
    EXPECT_EQ(codecs.Find(""), nullptr);
    codecs.Unregister(&first); // removes the key, whichever codec it holds
    EXPECT_FALSE(codecs.IsRegistered("png"));
}

TEST(CodecManager, ContentLookupTakesTheFirstAnswerInNameOrder) {
    const char bytes[4] = {};
    {
        CodecManager codecs;
        FakeCodec silent("aaa", ""), answering("bbb", "CCC"), target("ccc", "");
        codecs.Register(&target);
        codecs.Register(&answering);
        codecs.Register(&silent);
        EXPECT_EQ(codecs.FindByContent(bytes, 4), &target); // the answer, lowered, names the codec
    }
    {
        CodecManager codecs;
        FakeCodec self("xyz", "xyz"), later("zzz", "other");
        codecs.Register(&self);
        codecs.Register(&later);
        EXPECT_EQ(codecs.FindByContent(bytes, 4), &self); // its own name
    }
    {
        CodecManager codecs;
        FakeCodec unknown("a", "nothing"), other("b", "b");
        codecs.Register(&unknown);
        codecs.Register(&other);
        EXPECT_EQ(codecs.FindByContent(bytes, 4), nullptr); // the first answer decides, even if it names none
    }
}

// The codecs are the extensions FreeImage lists, and nothing else: a format's own name that no
// extension spells is no codec.
TEST(FreeImageRegistration, OnlyTheListedExtensionsAreCodecsAndDdsIsLeftOut) {
    CodecManager codecs;
    RegisterCodecs(codecs);
    const std::vector<std::pair<const char*, bool>> names{
        {"png", true},    {"bmp", true},     {"jpg", true},     {"jpeg", true},    {"tif", true},
        {"tiff", true},   {"pbm", true},     {"pgm", true},     {"ppm", true},     {"gif", true},
        {"tga", true},    {"targa", true},   {"jxr", true},     {"koa", true},     {"dds", false},
        {"", false},      {"ppmraw", false}, {"pgmraw", false}, {"pbmraw", false}, {"jpeg-xr", false},
        {"koala", false}, {"webp", true},    {"wbmp", true},
    };
    for (const auto& [name, registered] : names)
        EXPECT_EQ(codecs.IsRegistered(name), registered) << name;
    EXPECT_EQ(codecs.Find("ppm")->GetName(), "ppm");
    UnRegisterCodecs(codecs);
    EXPECT_FALSE(codecs.IsRegistered("png"));
}

TEST(FreeImageCodec, NamesTheFormatOfTheBytes) {
    Init();
    const auto png = dvpimage_test::readFixture("rgb.png");
    Codec* codec = static_cast<CodecManager&>(GetCodecs()).Find("bmp");
    ASSERT_NE(codec, nullptr);
    EXPECT_EQ(codec->GetTypeName(png.data(), png.size()), "PNG");
    EXPECT_TRUE(codec->CanDecode(png.data(), png.size()));
    const char text[40] = "just some words, not a picture at all";
    EXPECT_EQ(codec->GetTypeName(text, sizeof text), "");
    EXPECT_FALSE(codec->CanDecode(nullptr, 0));
}

} // namespace
