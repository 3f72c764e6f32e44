#include "ribbon/ProfileCommands.h"

#include "pal/test/sandbox_test.h"

#include "afxwin.h"

#include "pal/test/recording_cmd_ui.h"

#include <gtest/gtest.h>

namespace {

using pal::test::RecordingCmdUI;

class ProfileCommands : public pal::test::SandboxTest {
protected:
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const auto& entry : journal("prompt"))
            if (entry.get("kind") == "MessageBox")
                texts.push_back(entry.get("text"));
        return texts;
    }
};

TEST_F(ProfileCommands, WithoutProfilesNothingIsAppliedAndEveryEntryIsDisabled) {
    for (auto apply : {ApplyProfile1, ApplyProfile5, ApplyProfile10})
        EXPECT_EQ(apply(0), 0);
    for (UINT id : {1190u, 1199u, 1200u}) {
        RecordingCmdUI item;
        item.m_nID = id;
        UpdateApplyProfile(&item);
        EXPECT_EQ(item.enabled, 0) << id;
    }
}

TEST_F(ProfileCommands, ResetSettingsAsksFirstAndReportsThatNothingWasReset) {
    answer(IDNO);
    EXPECT_EQ(ResetSettings(0), 1);
    EXPECT_EQ(boxes().size(), 1u) << "no reset, no report";

    answer(IDYES);
    answer(IDOK);
    EXPECT_EQ(ResetSettings(0), 1);
    EXPECT_EQ(boxes().size(), 3u) << "the question, then the failure";
}

} // namespace
