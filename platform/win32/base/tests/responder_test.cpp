#include "pal/journal.h"
#include "pal/responder.h"
#include "pal/test/sandbox_test.h"
#include "win/base.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class Responder : public pal::test::SandboxTest {
protected:
    static int ask(const wchar_t* text, int defaultAnswer) {
        pal::responder::Prompt p;
        p.kind = "SavePrompt";
        p.text = text;
        p.caption = L"DravikCad";
        p.defaultAnswer = defaultAnswer;
        return pal::responder::ask(p);
    }
};

TEST_F(Responder, PromptsTakeQueuedAnswersInOrderAndAreJournaled) {
    answer(7);
    answer(2);
    EXPECT_EQ(ask(L"Save changes?", 6), 7);
    EXPECT_EQ(ask(L"Again?", 6), 2);
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].get("text"), "Save changes?");
    EXPECT_EQ(prompts[0].get("answer"), "7");
    EXPECT_EQ(prompts[1].get("caption"), "DravikCad");
}

TEST_F(Responder, UnansweredPromptTakesItsDefaultAndIsRecorded) {
    allowUnansweredPrompts = true;
    EXPECT_EQ(ask(L"?", 6), 6);
    const auto unanswered = journal("prompt.unanswered");
    ASSERT_EQ(unanswered.size(), 1u);
    EXPECT_EQ(unanswered[0].get("answer"), "6");
}

TEST_F(Responder, ATextAnswerToAPromptThatWantsANumberIsRefused) {
    allowRefusedAnswers = true;
    answer(L"Yes please");
    EXPECT_EQ(ask(L"?", 6), 6);
    const auto refused = journal("prompt.refused");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].get("answer"), "Yes please");
}

TEST_F(Responder, AnotherProcessReadsNumbersAndTextsFromItsScript) {
    const auto script =
        writeFile("answers.txt", "# the answers\n7\r\nC:\\Drawings\\plan.dwg\n\n-1\n12345678901\n");
    ::setenv("DV_PAL_ANSWERS", script.c_str(), 1);
    pal::test::reloadAnswerScript();
    std::vector<std::string> got;
    while (auto a = pal::responder::take())
        got.push_back(a->number ? "#" + std::to_string(*a->number) : a->describe());
    ::unsetenv("DV_PAL_ANSWERS");
    EXPECT_EQ(got, (std::vector<std::string>{"#7", "C:\\Drawings\\plan.dwg", "#-1", "12345678901"}));
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
