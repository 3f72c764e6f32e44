// The objects a drawing keeps by id (layers, local and 3D coordinate systems): made and shown
// in undo steps, refused when unusable, kept in the file, and read from files that had none.
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/Objects.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <string>

#include <zlib.h>

namespace {

using namespace Dravik;

std::shared_ptr<LAYER> layer(const std::wstring& name) {
    auto made = std::make_shared<LAYER>();
    made->name = name;
    return made;
}

class Objects : public pal::test::SandboxTest {};

TEST_F(Objects, LayersAreMadeInOneUndoStepAndUnusableNamesAreRefused) {
    DVDocument c;
    struct Case {
        const char* what;
        std::wstring name;
        bool made;
    };
    const Case cases[] = {
        {"a plain name", L"Contour", true},
        {"the same name again: the container does not judge, the control does", L"Contour", true},
        {"empty", L"", false},
        {"255 characters", std::wstring(255, L'x'), true},
        {"256 characters", std::wstring(256, L'x'), false},
        {"a line feed", L"two\nlines", false},
        {"a tab", L"a\tb", false},
        {"delete", L"a\x7F", false},
    };
    std::int64_t last = -1;
    for (const Case& k : cases) {
        const std::size_t steps = c.GetUndoCount();
        const std::int64_t id = c.CreateElement(layer(k.name));
        EXPECT_EQ(id >= 0, k.made) << k.what;
        EXPECT_EQ(c.GetUndoCount(), steps + (k.made ? 1 : 0)) << k.what;
        if (k.made) {
            EXPECT_GT(id, last) << k.what << ": ids grow";
            last = id;
            ASSERT_NE(c.GetSafeObject(id), nullptr) << k.what;
            EXPECT_EQ(c.GetSafeObject(id)->GetName(), k.name) << k.what;
            EXPECT_EQ(c.GetSafeObject(id)->GetTypeCode(), kObjectTypeLayer) << k.what;
        }
    }
    EXPECT_EQ(c.CreateElement(nullptr), -1);
    ASSERT_NE(c.FindLayer(L"Contour"), nullptr);
    EXPECT_EQ(c.FindLayer(L"contour"), nullptr) << "names compare exactly";

    // Undo takes the last layer away; its id stays taken.
    ASSERT_TRUE(c.Undo());
    EXPECT_EQ(c.GetSafeObject(last), nullptr);
    ASSERT_TRUE(c.Redo());
    EXPECT_NE(c.GetSafeObject(last), nullptr);
    ASSERT_TRUE(c.Undo());
    EXPECT_GT(c.CreateElement(layer(L"Later")), last);
    EXPECT_EQ(c.GetSafeObject(-1), nullptr);
    EXPECT_EQ(c.GetSafeObject(1'000'000), nullptr);
}

TEST_F(Objects, ACoordinateSystemMadeAndShownInOneBlockIsOneStep) {
    DVDocument c;
    auto origin = std::make_shared<CoordinateSystem3D>();
    origin->name = L"Origin";
    const std::int64_t originId = c.CreateElement(origin);
    const std::size_t steps = c.GetUndoCount();

    c.start_undo_block(0, 218, 0, 0);
    auto point = std::make_shared<FIXING_POINT>();
    point->projection = originId;
    const std::int64_t id = c.CreateElement(point);
    EXPECT_TRUE(c.ShowElement(id));
    c.end_undo_block();
    EXPECT_EQ(c.GetUndoCount(), steps + 1);
    EXPECT_EQ(c.GetUndoName(), L"Local coordinate system");
    const auto* shown = dynamic_cast<const FIXING_POINT*>(c.GetSafeObject(id));
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->visible);
    EXPECT_FALSE(c.ShowElement(originId)) << "only fixing vectors are shown";
    EXPECT_FALSE(c.ShowElement(12345));

    ASSERT_TRUE(c.Undo());
    EXPECT_EQ(c.GetSafeObject(id), nullptr);
    EXPECT_NE(c.GetSafeObject(originId), nullptr);
}

TEST_F(Objects, TheFileKeepsThemAndOlderFilesHaveNone) {
    CDvw32Doc doc;
    DVDocument& c = *doc.Cont2D();
    c.SetPages({Page{PageKind::Sheet, 420, 297, L"A"}, Page{PageKind::Sheet, 297, 210, L"B"}});
    auto axes = layer(L"Оси");
    axes->color = 0x336699u << 8;
    axes->states = {1, 2, 0, 1, 0, 0, 1};
    axes->lineWidth = 0.35;
    c.CreateElement(axes);
    auto system = std::make_shared<CoordinateSystem3D>();
    system->name = L"Top";
    system->page = 1;
    const std::int64_t systemId = c.CreateElement(system);
    auto point = std::make_shared<FIXING_POINT>();
    point->name = L"Bore";
    point->page = 1;
    point->projection = systemId;
    point->comment = L"c";
    point->x = 10;
    point->y = -2.5;
    point->angle = 90;
    point->visible = true;
    const std::int64_t pointId = c.CreateElement(point);

    const std::string bytes = grb::Encode(doc);
    CDvw32Doc back;
    std::wstring error;
    ASSERT_TRUE(grb::Decode(bytes, back, &error)) << pal::text::toUtf8(error);
    ASSERT_EQ(back.Cont2D()->GetObjects().size(), 3u);
    const auto* readLayer = dynamic_cast<const LAYER*>(back.Cont2D()->FindLayer(L"Оси"));
    ASSERT_NE(readLayer, nullptr);
    EXPECT_EQ(readLayer->color, axes->color);
    EXPECT_EQ(readLayer->states, axes->states);
    EXPECT_TRUE(readLayer->IsSetLineWidth());
    const auto* readPoint = dynamic_cast<const FIXING_POINT*>(back.Cont2D()->GetSafeObject(pointId));
    ASSERT_NE(readPoint, nullptr);
    EXPECT_EQ(readPoint->name, L"Bore");
    EXPECT_EQ(readPoint->projection, systemId);
    EXPECT_EQ(readPoint->page, 1u);
    EXPECT_EQ(readPoint->angle, 90.0);
    EXPECT_TRUE(readPoint->visible);
    EXPECT_GT(back.Cont2D()->CreateElement(layer(L"New")), pointId) << "no id is given twice after a load";

    // A file of the version before objects opens with none.
    std::unique_ptr<CDvw32Doc> old = grb::LoadFile(
        pal::text::fromUtf8(sourcePath("outside/DravikKernel/tests/fixtures/drawing-v2.grb").string()),
        &error);
    ASSERT_NE(old, nullptr) << pal::text::toUtf8(error);
    EXPECT_TRUE(old->Cont2D()->GetObjects().empty());
    EXPECT_EQ(old->Cont2D()->CreateElement(layer(L"0")), 0);
}

TEST_F(Objects, DamagedObjectsFailTheWholeFile) {
    // Each case spoils one field of a good file's last object: a layer.
    CDvw32Doc doc;
    doc.Cont2D()->CreateElement(layer(L"L"));
    const std::string good = grb::Encode(doc);
    // The layer record ends the body: type, id, name (4 + 1 bytes), colour, states, width.
    const std::size_t record = good.size() - (4 + 8 + 5 + 4 + 7 + 8);
    struct Case {
        const char* what;
        std::size_t offset;
        std::string bytes;
    };
    const Case cases[] = {
        {"an unknown type", record, std::string("\x07\x00\x00\x00", 4)},
        {"a negative id", record + 4, std::string(8, '\xFF')},
        {"a name with a control character", record + 16, "\x01"},
        {"a negative line width", record + 12 + 5 + 4 + 7 + 7, "\xBF"},
    };
    for (const Case& k : cases) {
        std::string bad = good;
        bad.replace(k.offset, k.bytes.size(), k.bytes);
        // The checksum is written again so that only the field is wrong.
        const std::string body = bad.substr(24);
        const auto sum = static_cast<std::uint32_t>(::crc32(::crc32(0L, Z_NULL, 0),
                                                            reinterpret_cast<const Bytef*>(body.data()),
                                                            static_cast<uInt>(body.size())));
        std::string repaired = bad;
        repaired.replace(12, 4, reinterpret_cast<const char*>(&sum), 4);
        std::wstring error;
        CDvw32Doc into;
        EXPECT_FALSE(grb::Decode(repaired, into, &error)) << k.what;
        EXPECT_NE(error.find(L"damaged"), std::wstring::npos) << k.what;
    }
}

} // namespace
