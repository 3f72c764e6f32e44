#include "pal/journal.h"
#include "pal/test/sandbox_test.h"
#include "win/base.h"

#include <gtest/gtest.h>

namespace {

class Responder : public pal::test::SandboxTest {};

TEST_F(Responder, MessageBoxesTakeQueuedAnswersInOrderAndAreJournaled) {
    answer(IDNO);
    answer(IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"Save changes?", L"DravikCad", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"Again?", L"DravikCad", MB_OKCANCEL), IDCANCEL);
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].get("text"), "Save changes?");
    EXPECT_EQ(prompts[0].get("answer"), std::to_string(IDNO));
    EXPECT_EQ(prompts[1].get("caption"), "DravikCad");
}

TEST_F(Responder, UnansweredPromptTakesTheDefaultButtonAndIsRecorded) {
    allowUnansweredPrompts = true;
    const struct {
        UINT type;
        int expected;
    } cases[] = {{MB_OK, IDOK},
                 {MB_YESNO, IDYES},
                 {MB_YESNO | MB_DEFBUTTON2, IDNO},
                 {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                 {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
                 {MB_OK | MB_DEFBUTTON4, IDOK}};
    for (const auto& c : cases)
        EXPECT_EQ(MessageBoxW(nullptr, L"?", L"t", c.type), c.expected);
    EXPECT_EQ(journal("prompt.unanswered").size(), std::size(cases));
}

TEST_F(Responder, JournalKeepsFieldsWithSeparatorsIntact) {
    pal::journal::record("shell.execute", {{"file", "a\tb\nc\\d=e"}, {"verb", "open"}});
    const auto entries = journal("shell.execute");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].get("file"), "a\tb\nc\\d=e");
    EXPECT_EQ(entries[0].get("verb"), "open");
    EXPECT_EQ(entries[0].pid, static_cast<long>(GetCurrentProcessId()));
}

} // namespace
