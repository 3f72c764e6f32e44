// The document model: content changes, the undo history, variables and the title-block
// variables as the three editors read and write them.
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentPdm.h"
#include "DravikKernel/ModelVars.h"
#include "DravikKernel/TitleBlock.h"

#include "pal/text.h"

#include <gtest/gtest.h>

namespace {

using namespace Dravik;

Element line(double x1, double y1, double x2, double y2) {
    return {ElementKind::Line, 0, 0, L"", {x1, y1, x2, y2}, {}};
}

TEST(Undo, ABlockIsOneStepAndUndoRedoWalkTheHistory) {
    DVDocument doc;
    doc.AddElement(line(0, 0, 1, 1));
    doc.start_undo_block(L"Two lines");
    doc.AddElement(line(1, 1, 2, 2));
    doc.start_undo_block(L"inner");
    doc.AddElement(line(2, 2, 3, 3));
    doc.end_undo_block();
    EXPECT_FALSE(doc.CanUndo()) << "no undo while a block is open";
    doc.end_undo_block();
    ASSERT_EQ(doc.GetUndoCount(), 2u);
    EXPECT_EQ(doc.GetUndoName(), L"Two lines");

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.GetElements().size(), 1u);
    EXPECT_EQ(doc.GetRedoName(), L"Two lines");
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.GetElements().empty());
    EXPECT_FALSE(doc.Undo());
    ASSERT_TRUE(doc.Redo());
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.GetElements().size(), 3u);
    EXPECT_EQ(doc.GetElements()[2], line(2, 2, 3, 3));

    // A new change drops what could have been redone.
    doc.Undo();
    doc.DeleteElement(0);
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(doc.GetElements(), (std::vector<Element>{line(0, 0, 1, 1)}));
}

TEST(Undo, AnEmptyBlockLeavesNoStepAndAPushedActionIsUndone) {
    CDvw32Doc doc;
    doc.Cont2D()->start_undo_block(L"nothing");
    doc.Cont2D()->end_undo_block();
    EXPECT_EQ(doc.Cont2D()->GetUndoCount(), 0u);
    EXPECT_FALSE(doc.IsModified());

    // A command changed the content itself and hands the change over.
    Change c;
    c.index = 0;
    c.elemAfter = line(0, 0, 5, 5);
    doc.Cont2D()->LoadContent({}, {}, {*c.elemAfter});
    doc.PushAction({L"Line", {c}});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Cont2D()->GetUndoName(), L"Line");
    doc.Cont2D()->Undo();
    EXPECT_TRUE(doc.Cont2D()->GetElements().empty());
}

TEST(ActionHistory, StepsAreKeptInOrderApartFromTheUndoHistory) {
    CDvw32Doc doc;
    using Action = DravikDocument2::Action;
    doc.PushAction(Action{0, 6500, L"", L"Line by two points", 0});
    doc.PushAction(Action{1, 'A', L"", L"", 5});
    ASSERT_EQ(doc.GetActionHistory().size(), 2u);
    EXPECT_EQ(doc.GetActionHistory()[0].hint, L"Line by two points");
    EXPECT_EQ(doc.GetActionHistory()[1].modifiers, 5u);
    EXPECT_EQ(doc.Cont2D()->GetUndoCount(), 0u);
    EXPECT_FALSE(doc.IsModified());
}

TEST(Variables, RealExpressionsEvaluateAndFollowTheirInputs) {
    DVDocument doc;
    ASSERT_EQ(doc.create_real_var(L"w", -1, L"160", 3), 0);
    ASSERT_EQ(doc.create_real_var(L"h", -1, L"(w - 10) / 2 * -1 + 2e2", 0), 1);
    EXPECT_DOUBLE_EQ(doc.GetVariables()[1].value, 125.0);
    doc.create_real_var(L"w", 0, L"60", 0);
    EXPECT_DOUBLE_EQ(doc.GetVariables()[1].value, 175.0);
    doc.Undo();
    EXPECT_DOUBLE_EQ(doc.GetVariables()[1].value, 125.0);

    struct Case {
        std::wstring name;
        int index;
        std::wstring expression;
    };
    const Case cases[] = {{L"x", -1, L"1 +"},      {L"x", -1, L"1 / 0"},
                          {L"x", -1, L"nope * 2"}, {L"x", -1, L"((1)"},
                          {L"", -1, L"1"},         {L"h", -1, L"1"},
                          {L"x", 7, L"1"},         {L"x", -1, std::wstring(200, L'(') + L"1"},
                          {L"w", 0, L"w * 2"},     {L"w", 0, L"h + 1"}};
    for (const Case& bad : cases)
        EXPECT_EQ(doc.create_real_var(bad.name, bad.index, bad.expression, 0), -1)
            << pal::text::toUtf8(bad.expression);
    EXPECT_EQ(doc.GetVariables().size(), 2u);
}

TEST(Variables, TextIsKeptQuotedAndCutToItsLength) {
    DVDocument doc;
    ASSERT_EQ(doc.create_text_var(L"$a", -1, L"\"\"", 255, 0), 0);
    EXPECT_EQ(doc.GetVariables()[0].expression, L"\"\"");
    EXPECT_EQ(doc.GetTextValue(L"$a"), L"");
    doc.create_text_var(L"$a", 0, L"Плита", 3, 0);
    EXPECT_EQ(doc.GetVariables()[0].expression, L"\"Пли\"");
    EXPECT_EQ(doc.create_text_var(L"$a", -1, L"x", 255, 0), -1) << "the name is taken";
}

// The three editors' ways of reading a field and writing it back untouched.
enum class Editor { FirstSheet, NextSheets, Form };

std::wstring readField(Editor editor, const ModelVars& vars, const std::wstring& name) {
    std::wstring text = vars.GetVarExpression(name);
    if (text == L"\"\"")
        text.clear();
    if (editor != Editor::Form && text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    return text;
}

TEST(TitleBlockVariables, AnUntouchedOkFromAnyEditorChangesNothing) {
    const std::wstring values[] = {L"",   L"Иванов", L"A3", L"ООО \"Дравик\"", L"  два  пробела ",
                                   L"-1", L"\""};
    for (Editor editor : {Editor::FirstSheet, Editor::NextSheets, Editor::Form}) {
        CDvw32Doc doc;
        DVDocument& c = *doc.Cont2D();
        for (std::size_t i = 0; i < std::size(values); ++i)
            c.create_text_var(L"$v" + std::to_wstring(i), -1, QuoteText(values[i]), 255, 0);
        doc.SetModifiedFlag(false);
        const auto before = c.GetVariables();
        const auto steps = c.GetUndoCount();

        ModelVars& vars = *doc.GetModelVars();
        for (const Variable& v : before)
            vars.SetVarExpression(v.name, readField(editor, vars, v.name));
        ASSERT_TRUE(vars.OK(L"Редактирование форматки"));
        EXPECT_EQ(c.GetVariables(), before) << static_cast<int>(editor);
        EXPECT_EQ(c.GetUndoCount(), steps);
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST(TitleBlockVariables, EditsReachTheDocumentOnlyOnOkAsOneUndoableStep) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* stored; // the text the variable holds after OK
    };
    // What a person types: a bare text, or (in the editor that shows quotes) a quoted one.
    const Case cases[] = {{L"Петров", L"Петров"}, {L"\"Петров\"", L"Петров"}, {L"", L""}, {L"\"\"", L""}};
    for (const Case& k : cases) {
        CDvw32Doc doc;
        DVDocument& c = *doc.Cont2D();
        c.create_text_var(L"$razrab", -1, L"\"Иванов\"", 255, 0);
        c.create_text_var(L"$prover", -1, L"\"\"", 255, 0);
        c.create_real_var(L"width", -1, L"5", 0);
        c.create_real_var(L"len", -1, L"10", 0);
        const auto steps = c.GetUndoCount();
        ModelVars& vars = *doc.GetModelVars();

        EXPECT_TRUE(vars.SetVarExpression(L"$razrab", k.typed));
        EXPECT_TRUE(vars.SetVarExpression(L"$prover", L"Сидоров"));
        EXPECT_TRUE(vars.SetVarExpression(L"len", L"width * 4"));
        EXPECT_FALSE(vars.SetVarExpression(L"$nobody", L"x"));
        EXPECT_EQ(c.GetTextValue(L"$razrab"), L"Иванов") << "nothing before OK";

        ASSERT_TRUE(vars.OK(L"Редактирование форматки"));
        EXPECT_EQ(c.GetTextValue(L"$razrab"), k.stored) << k.typed;
        EXPECT_EQ(c.GetTextValue(L"$prover"), L"Сидоров");
        EXPECT_DOUBLE_EQ(c.GetVariables()[3].value, 20.0);
        EXPECT_EQ(c.GetUndoCount(), steps + 1);
        EXPECT_EQ(c.GetUndoName(), L"Редактирование форматки");
        ASSERT_TRUE(c.Undo());
        EXPECT_EQ(c.GetTextValue(L"$razrab"), L"Иванов");
        EXPECT_EQ(c.GetTextValue(L"$prover"), L"");
        EXPECT_DOUBLE_EQ(c.GetVariables()[3].value, 10.0);
    }
}

TEST(TitleBlockVariables, CancelDropsTheEditsAndABadRealExpressionCommitsNothing) {
    CDvw32Doc doc;
    DVDocument& c = *doc.Cont2D();
    c.create_text_var(L"$razrab", -1, L"\"Иванов\"", 255, 0);
    c.create_real_var(L"len", -1, L"10", 0);
    ModelVars& vars = *doc.GetModelVars();

    vars.SetVarExpression(L"$razrab", L"Петров");
    vars.Cancel();
    EXPECT_TRUE(vars.OK(L"edit"));
    EXPECT_EQ(c.GetTextValue(L"$razrab"), L"Иванов");

    vars.SetVarExpression(L"$razrab", L"Петров");
    vars.SetVarExpression(L"len", L"len + 1");
    const auto steps = c.GetUndoCount();
    EXPECT_FALSE(vars.OK(L"edit"));
    EXPECT_EQ(c.GetTextValue(L"$razrab"), L"Иванов");
    EXPECT_EQ(c.GetUndoCount(), steps);
    EXPECT_EQ(vars.PendingCount(), 2u) << "kept for a corrected OK or a Cancel";
}

TEST(TitleBlock, CellsShowCaptionsAndTheVariablesText) {
    DVDocument doc;
    doc.create_text_var(L"$oboznach", -1, L"ДВК.301", 255, 0);
    const Element block{ElementKind::TitleBlock, 0, 0, L"", {415, 5}, {}};
    const auto cells = TitleBlockCells(doc, block);
    ASSERT_EQ(cells.size(), TitleBlockLayout().size());
    auto find = [&](const std::wstring& text) {
        for (const PlacedCell& cell : cells)
            if (cell.text == text)
                return &cell;
        return static_cast<const PlacedCell*>(nullptr);
    };
    const PlacedCell* designation = find(L"ДВК.301");
    ASSERT_NE(designation, nullptr);
    EXPECT_FALSE(designation->isCaption);
    EXPECT_DOUBLE_EQ(designation->right, 415.0);
    EXPECT_DOUBLE_EQ(designation->top, 60.0);
    ASSERT_NE(find(L"Разраб."), nullptr);
    EXPECT_DOUBLE_EQ(find(L"Разраб.")->left, 415.0 - kTitleBlockWidth);
    // Every cell lies inside the block.
    for (const PlacedCell& cell : cells) {
        EXPECT_GE(cell.left, 415.0 - kTitleBlockWidth);
        EXPECT_LE(cell.right, 415.0);
        EXPECT_GE(cell.bottom, 5.0);
        EXPECT_LE(cell.top, 5.0 + kTitleBlockHeight);
    }
    EXPECT_TRUE(TitleBlockCells(doc, line(0, 0, 1, 1)).empty());
}

TEST(Document, TitleFlagsHoldsAndTheRunningCommand) {
    CDvw32Doc doc;
    doc.SetPathName(L"/tmp/plans/Плита.grb");
    EXPECT_EQ(doc.GetTitle(), L"Плита.grb");
    EXPECT_EQ(doc.GetShortTitle(), L"Плита");
    doc.SetFlag(0x200000000000);
    doc.SetFlag(0x4);
    EXPECT_TRUE(doc.IsFlagSet(0x200000000004));
    doc.SetFlag(0x4, false);
    EXPECT_FALSE(doc.IsFlagSet(0x4));
    EXPECT_TRUE(doc.IsFlagSet(0x200000000000));

    EXPECT_EQ(doc.AddHold(), 1);
    EXPECT_EQ(doc.AddHold(), 2);
    EXPECT_EQ(doc.ReleaseHold(), 1);
    EXPECT_EQ(doc.ReleaseHold(), 0);
    EXPECT_EQ(doc.ReleaseHold(), 0);

    EXPECT_TRUE(doc.IsEditable());
    EXPECT_TRUE(doc.BeginCommand(L"Line"));
    EXPECT_FALSE(doc.BeginCommand(L"Circle")) << "one command at a time";
    EXPECT_FALSE(doc.IsEditable());
    doc.Cont2D()->start_undo_block(L"Line");
    doc.Cont2D()->AddElement(line(0, 0, 1, 0));
    EXPECT_TRUE(doc.TerminateCommand());
    EXPECT_FALSE(doc.IsInCommand());
    EXPECT_FALSE(doc.Cont2D()->InUndoBlock()) << "the half-done step is closed and can be undone";
    EXPECT_TRUE(doc.Cont2D()->Undo());
    EXPECT_FALSE(doc.TerminateCommand());
    doc.SetReadOnly(true);
    EXPECT_FALSE(doc.IsEditable());
}

} // namespace

#include "DravikKernel/FragmentPath.h"

namespace {

TEST(Fragment, ItsGeometryMovesToThePointAsOneStepWithoutItsFrame) {
    DVDocument fragment;
    fragment.AddElement({ElementKind::SheetFrame, 0, 0, L"", {20, 5, 5, 5}, {}});
    fragment.AddElement(line(0, 0, 10, 0));
    fragment.AddElement({ElementKind::Circle, 0, 0, L"", {5, 5, 2}, {}});
    fragment.AddElement({ElementKind::Text, 0, 0, L"", {1, 2, 3.5}, L"Поз. 1"});

    DVDocument drawing;
    drawing.AddElement(line(0, 0, 1, 1));
    EXPECT_EQ(drawing.InsertFragment(fragment, 0, 100, 50, L"Вставка фрагмента"), 3u);
    const auto& e = drawing.GetElements();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[1].coords, (std::vector<double>{100, 50, 110, 50}));
    EXPECT_EQ(e[2].coords, (std::vector<double>{105, 55, 2}));
    EXPECT_EQ(e[3].coords, (std::vector<double>{101, 52, 3.5}));
    EXPECT_EQ(drawing.GetUndoName(), L"Вставка фрагмента");
    drawing.Undo();
    EXPECT_EQ(drawing.GetElements().size(), 1u);
    EXPECT_EQ(drawing.InsertFragment(fragment, 5, 0, 0, L"x"), 0u) << "no such page";
}

TEST(Fragment, ThePathRecordIsOneAndResetsWhole) {
    CFragmentPath& record = CFragmentPath::InitInstance();
    EXPECT_EQ(&record, &CFragmentPath::InitInstance());
    record.path = L"C:\\lib\\bolt.grb";
    record.libraryPath = record.path;
    record.counter = 3;
    record.dropPoint = {10, 20};
    record.variables.AddVariable(L"d", L"8");
    record.variables.AddVariable(L"d", L"10");
    ASSERT_EQ(record.variables.GetVariables().size(), 1u);
    EXPECT_EQ(record.variables.GetVariables()[0].second, L"10");
    record.Reset();
    EXPECT_TRUE(record.path.empty() && record.libraryPath.empty());
    EXPECT_EQ(record.counter, 0);
    EXPECT_TRUE(record.variables.GetVariables().empty());
}

TEST(DocumentPdm, VersionsAreSavedIntoThePdmSystemOnlyUnderNamesOfTheirOwn) {
    struct Case {
        std::vector<std::wstring> names;
        bool ready;
    };
    const Case cases[] = {{{}, true},
                          {{L"Main"}, true},
                          {{L"Main", L"Export"}, true},
                          {{L"Main", L""}, false},
                          {{L"Main", L"Main"}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.size());
        CDvw32Doc document;
        EXPECT_EQ(document.FindPdmLink(), nullptr);
        DocumentPdmLink& link = document.GetPdmLink();
        for (const std::wstring& name : c.names)
            link.productStructures.push_back({name, L"", 0});
        EXPECT_EQ(PrepareProductStructuresForNomenclatureSave(link), c.ready);
        UpdateProductStructures(link);
        for (const ProductStructure& structure : link.productStructures)
            EXPECT_EQ(structure.updates, 1);
        EXPECT_EQ(SetActiveProductStructure(link, c.names.size()), false) << "out of range";
        EXPECT_EQ(link.activeProductStructure, 0u);
    }
}

} // namespace
