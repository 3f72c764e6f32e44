#include "DVTextCore/I18n.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

namespace I18n = Dravik::I18n;

class Translation : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        const auto file = sourcePath("outside/DVTextCore/tests/fixtures/test.lng");
        ASSERT_TRUE(I18n::LoadCatalogue(pal::path::fromNative(file).c_str())) << file;
    }
    void TearDown() override {
        I18n::LoadCatalogue(nullptr);
        SandboxTest::TearDown();
    }
};

TEST_F(Translation, KeysOfTheCatalogueAndKeysWithout) {
    struct Case {
        const wchar_t* key;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"panels.main_menu", L"Главное меню"},
        {L"Cannot load module \"%s\"", L"Модуль \"%s\" не загружен"},
        {L"Incorrect version of \"%s\" (%u.%u.%u.%u)", L"Неверная версия \"%s\" (%u.%u.%u.%u)"},
        {L"Unknown error", L"Неизвестная ошибка\n\tподробности"},
        {L"docs_menu.saving_config_error", L"Cannot save \"%s\""},
        {L"duplicate", L"first"},
        {L"empty.text", L""},
        {L"panels.missing", L"panels.missing"},
        {L"PANELS.MAIN_MENU", L"PANELS.MAIN_MENU"}, // keys are exact
        {L"no separator here", L"no separator here"},
        {L"\"quoted\" junk", L"\"quoted\" junk"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(I18n::Translate(std::wstring_view(c.key)), c.text) << c.key;
        EXPECT_EQ(TranslateKey(c.key), c.text) << c.key;
    }
    EXPECT_EQ(I18n::Translate("panels.main_menu"), L"Главное меню") << "narrow keys are UTF-8";
    std::wstring text = L"unchanged";
    EXPECT_FALSE(I18n::TryTranslate(L"panels.missing", text));
    EXPECT_EQ(text, L"unchanged");
}

TEST_F(Translation, FormattingUsesTheTranslatedFormat) {
    EXPECT_EQ(I18n::FormatTranslation(L"Cannot load module \"%s\"", L"DVBOM.dll"),
              L"Модуль \"DVBOM.dll\" не загружен");
    EXPECT_EQ(
        I18n::FormatTranslation("Incorrect version of \"%s\" (%u.%u.%u.%u)", L"DV3DSE.dll", 18u, 0u, 20u, 3u),
        L"Неверная версия \"DV3DSE.dll\" (18.0.20.3)");
    EXPECT_EQ(FormatTranslatedKey("docs_menu.saving_config_error", L"Main"), L"Cannot save \"Main\"");
    EXPECT_EQ(FormatTranslatedKey(L"Missing %d of %s", 3, L"x"), L"Missing 3 of x");
}

// A catalogue text that asks for other arguments than its key would read arguments that were
// never passed; the key's own format is used instead.
TEST_F(Translation, ATextThatAsksForOtherArgumentsIsNotUsedAsFormat) {
    EXPECT_EQ(I18n::Translate(L"Broken %d"), L"%s %s");
    EXPECT_EQ(I18n::FormatTranslation(L"Broken %d", 7), L"Broken 7");
}

TEST_F(Translation, OnlyPlainLanguageCodesNameACatalogue) {
    for (const wchar_t* code : {L"../../etc/passwd", L"a/b", L"", L"Rus ", L"ABCDEFGHIJKLMNOPQ"}) {
        EXPECT_FALSE(I18n::LoadLanguage(code)) << code;
        EXPECT_EQ(I18n::Translate(L"panels.main_menu"), L"panels.main_menu") << "the old catalogue is gone";
    }
    EXPECT_FALSE(I18n::LoadLanguage(L"Xx")) << "no catalogue for this language is installed";
    EXPECT_EQ(I18n::CurrentLanguage(), L"Xx");
}

TEST_F(Translation, AMissingCatalogueLeavesEveryKeyAsItIs) {
    EXPECT_FALSE(I18n::LoadCatalogue(L"C:\\nowhere.lng"));
    EXPECT_EQ(I18n::Translate(L"panels.main_menu"), L"panels.main_menu");
    EXPECT_EQ(I18n::FormatTranslation(L"Cannot load module \"%s\"", L"X.dll"),
              L"Cannot load module \"X.dll\"");
}

TEST_F(Translation, EveryLoadTellsTextsKeptFromTheLastCatalogueTheyMayBeStale) {
    const std::uint64_t before = I18n::CatalogueGeneration();
    EXPECT_EQ(I18n::CatalogueGeneration(), before) << "reading texts changes nothing";
    I18n::Translate(L"panels.main_menu");
    EXPECT_EQ(I18n::CatalogueGeneration(), before);
    // A load that fails empties the catalogue: that is a change too.
    EXPECT_FALSE(I18n::LoadCatalogue(L"C:\\nowhere.lng"));
    const std::uint64_t failed = I18n::CatalogueGeneration();
    EXPECT_NE(failed, before);
    const auto file = sourcePath("outside/DVTextCore/tests/fixtures/test.lng");
    ASSERT_TRUE(I18n::LoadCatalogue(pal::path::fromNative(file).c_str()));
    EXPECT_NE(I18n::CatalogueGeneration(), failed);
}

} // namespace
