// Parameters by name: the selection's agreed value or the defaults', and the writers that send a
// value to the selected objects or to the defaults for new elements.
#include "panels/SystemPanelParameters.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/Document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using dveval::VariantParameter;

class ParametersTest : public ::testing::Test {
protected:
    void SetUp() override { dvlog::test::clearCapture(); }
    std::shared_ptr<CDVObject> select(std::optional<VariantParameter> level) {
        auto object = std::make_shared<CDVObject>();
        if (level)
            object->SetParameterValue(levelId(), *level);
        doc.GetParameters().Selection.push_back(object);
        return object;
    }
    static int levelId() { return ObjectParametersProvider::Instance().GetDescriptorByName(L"Level")->Id; }
    DefaultParameterContainer& container() { return doc.GetDefaultParameters().GetData().emplace_back(); }

    CDvw32Doc doc;
};

VariantParameter real(double value, int variable = -1) {
    return VariantParameter(dveval::RealValue{value, variable});
}

TEST_F(ParametersTest, SelectionGivesTheValueItsObjectsAgreeOn) {
    struct Case {
        const char* what;
        std::vector<std::optional<VariantParameter>> objects;
        std::optional<VariantParameter> expected;
    };
    const Case cases[] = {
        {"equal levels", {real(3), real(3)}, real(3)},
        {"different levels", {real(3), real(4)}, std::nullopt},
        {"an object without the parameter is not asked", {real(5), std::nullopt, real(5)}, real(5)},
        {"no object carries it", {std::nullopt}, std::nullopt},
        {"same number of another kind differs", {real(2), VariantParameter(std::int32_t{2})}, std::nullopt},
    };
    for (const Case& c : cases) {
        doc.GetParameters().Selection.clear();
        for (const auto& value : c.objects)
            select(value);
        EXPECT_EQ(GetParameterValue(&doc, L"Level"), c.expected) << c.what;
    }
}

TEST_F(ParametersTest, SelectionWithoutDescriptorGivesNothing) {
    select(real(1));
    EXPECT_EQ(GetParameterValue(&doc, L"NoSuchParameter"), std::nullopt);
}

TEST_F(ParametersTest, WithoutSelectionTheDefaultContainersAgree) {
    EXPECT_EQ(GetParameterValue(&doc, L"LineWidth"), std::nullopt);
    container().SetVariantParameter(L"LineWidth", real(0.5));
    container(); // holds nothing of the name: not asked
    EXPECT_EQ(GetParameterValue(&doc, L"LineWidth"), real(0.5));
    container().SetVariantParameter(L"LineWidth", real(0.5));
    EXPECT_EQ(GetParameterValue(&doc, L"LineWidth"), real(0.5));
    VariantParameter flagged = real(0.5);
    flagged.Flags[1] = 1; // the flag bytes take part in equality
    container().SetVariantParameter(L"LineWidth", flagged);
    EXPECT_EQ(GetParameterValue(&doc, L"LineWidth"), std::nullopt);
}

TEST_F(ParametersTest, SetWithSelectionWritesEveryObjectAndTellsSourceZero) {
    auto first = select(real(1));
    auto second = select(std::nullopt);
    struct Listener : TypedApplicationEventListener<1037> {
        int source = -1;
        void OnApplicationEvent(int, ApplicationEventArgs& args) override {
            source = dynamic_cast<ObjectsPropertiesChangedArgs&>(args).Source;
        }
    } listener;
    EXPECT_TRUE(SetParameterValue(&doc, L"Level", real(7)));
    EXPECT_EQ(first->GetParameterValue(levelId()), real(7));
    EXPECT_EQ(second->GetParameterValue(levelId()), real(7));
    EXPECT_EQ(listener.source, 0);
    EXPECT_EQ(doc.GetDefaultParameters().GetDefaultLevel(), LevelValue{});
}

TEST_F(ParametersTest, SetWithSelectionButNoDescriptorAnswersTrueAndLogsAWarning) {
    auto object = select(real(1));
    EXPECT_TRUE(SetParameterValue(&doc, L"NoSuchParameter", real(7)));
    EXPECT_EQ(object->GetParameterValue(levelId()), real(1));
    const auto warnings = dvlog::test::capturedAt(6);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("NoSuchParameter"), std::string::npos);
}

TEST_F(ParametersTest, SetWithoutSelectionGoesToTheDefaults) {
    EXPECT_FALSE(SetParameterValue(&doc, L"Level", real(12.9, 4)));
    EXPECT_EQ(doc.GetDefaultParameters().GetDefaultLevel(), (LevelValue{12, 4}));
}

TEST_F(ParametersTest, LevelAndPriorityDefaultsAreClampedIntegers) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        VariantParameter value;
        LevelValue expected;
    };
    const Case cases[] = {
        {real(-3.7, 2), {-3, 2}},
        {real(1e12), {kMax, -1}},
        {real(-1e12), {kMin, -1}},
        {real(std::numeric_limits<double>::infinity()), {kMax, -1}},
        {real(std::nan("")), {0, -1}},
        {VariantParameter(std::int32_t{42}), {42, -1}},
        {VariantParameter(dveval::IntegerLike{9}), {9, -1}},
        {VariantParameter(std::wstring(L"5")), {0, -1}},
    };
    for (const Case& c : cases) {
        SetDefaultParameterValue(&doc, L"Level", c.value);
        SetDefaultParameterValue(&doc, L"Priority", c.value);
        EXPECT_EQ(doc.GetDefaultParameters().GetDefaultLevel(), c.expected) << c.value.index();
        const PriorityValue priority = doc.GetDefaultParameters().GetDefaultPriority();
        EXPECT_EQ((LevelValue{priority.Value, priority.Variable}), c.expected);
    }
}

TEST_F(ParametersTest, ColourAndLayerOfTheWrongKindAreRefusedWithALogLine) {
    SetDefaultParameterValue(&doc, L"Color", VariantParameter(dveval::ColorValue{1, 2}));
    SetDefaultParameterValue(&doc, L"Layer", VariantParameter(std::int32_t{3}));
    EXPECT_EQ(doc.GetDefaultParameters().GetDefaultColor(), (dveval::ColorValue{1, 2}));
    EXPECT_EQ(doc.GetDefaultParameters().GetDefaultLayer(), 3);
    EXPECT_TRUE(dvlog::test::capturedAt(6).empty());

    SetDefaultParameterValue(&doc, L"Color", real(4));
    SetDefaultParameterValue(&doc, L"Layer", VariantParameter(std::wstring(L"Layer 1")));
    EXPECT_EQ(doc.GetDefaultParameters().GetDefaultColor(), (dveval::ColorValue{1, 2}));
    EXPECT_EQ(doc.GetDefaultParameters().GetDefaultLayer(), 3);
    EXPECT_EQ(dvlog::test::capturedAt(6).size(), 2u);
}

TEST_F(ParametersTest, ColourAlsoReachesTheContainersOtherNamesOnly) {
    doc.GetDefaultParameters().GetData().resize(2);
    DefaultParameterContainer& holding = doc.GetDefaultParameters().GetData()[0];
    DefaultParameterContainer& other = doc.GetDefaultParameters().GetData()[1];
    holding.SetVariantParameter(L"Color", VariantParameter(dveval::ColorValue{0, 0}));
    holding.SetVariantParameter(L"Level", real(1));
    const int before = holding.ChangeCount();

    SetDefaultParameterValue(&doc, L"Color", VariantParameter(dveval::ColorValue{7, 0}));
    SetDefaultParameterValue(&doc, L"Level", real(9));
    EXPECT_EQ(*holding.GetParameter(L"Color"), VariantParameter(dveval::ColorValue{7, 0}));
    EXPECT_EQ(*holding.GetParameter(L"Level"), real(1)); // the level goes to the typed default only
    EXPECT_FALSE(other.HasParameter(L"Color"));
    EXPECT_EQ(holding.ChangeCount(), before + 1);

    // The same value again is not written.
    SetDefaultParameterValue(&doc, L"Color", VariantParameter(dveval::ColorValue{7, 0}));
    EXPECT_EQ(holding.ChangeCount(), before + 1);
}

} // namespace
