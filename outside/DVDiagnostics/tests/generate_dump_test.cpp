#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/GenerateDumpFile.h"
#include "DVDiagnostics/test/hooks.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A context that records what the filter asked of it and answers the dialog as told.
class Context : public GenerateDumpFileContextBase {
public:
    explicit Context(int answer) : answer(answer) {}
    std::wstring GetProductName() const override { return L"Test Product"; }
    std::wstring GetActiveDocumentPath() const override { return L"C:\\Work\\part.dvd"; }
    void SetErrorRestoreFlag() override { calls += "restore;"; }
    void SetSafeToExitFlag() override { calls += "safe;"; }
    void SaveDocuments() override { calls += "save;"; }
    void FreeResources() override { calls += "free;"; }
    void PrepareRestart() override { calls += "restart;"; }
    int ShowErrorDialog(const std::wstring& text) override {
        calls += "dialog;";
        return answer;
    }
    int answer;
    std::string calls;
};

class CrashReport : public pal::test::SandboxTest {
protected:
    static fs::path reports() { return pal::folders::localAppData() / "Dravik" / "Test Product" / "Reports"; }
    static std::size_t reportCount() {
        std::error_code ec;
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(reports(), ec))
            ++n;
        return n;
    }
};

TEST_F(CrashReport, AFaultIsReportedOnceAndTheAnswerDecidesTheRestart) {
    struct Case {
        int answer;
        const char* calls;
    };
    const Case cases[] = {
        {GenerateDumpFileContextBase::kClose, "dialog;safe;free;"},
        {GenerateDumpFileContextBase::kRestart, "dialog;restore;save;restart;safe;free;"},
    };
    for (const Case& c : cases) {
        Context context(c.answer);
        EXPECT_EQ(GenerateDumpFileAndReportError(nullptr, &context), 1);
        EXPECT_EQ(context.calls, c.calls);
        EXPECT_TRUE(context.HasErrorMark());
        context.calls.clear();
        EXPECT_EQ(GenerateDumpFileAndReportError(nullptr, &context), 1) << "a fault inside the report";
        EXPECT_EQ(context.calls, "");
    }
    EXPECT_EQ(reportCount(), 2u);
    EXPECT_EQ(GenerateDumpFileAndReportError(nullptr, nullptr), 0);
}

TEST_F(CrashReport, TheReportCarriesTheContextAndTheLog) {
    DVLog_Write(DVLogInfo, "a line before the fault");
    Context context(GenerateDumpFileContextBase::kClose);
    std::wstring report, folder, logCopy;
    ASSERT_TRUE(context.GenerateReportFiles(L"What happened", report, folder, logCopy));
    const std::string text = pal::test::readFile(pal::path::toNative(report));
    EXPECT_NE(text.find("Product: Test Product"), std::string::npos);
    EXPECT_NE(text.find("Active document: C:\\Work\\part.dvd"), std::string::npos);
    EXPECT_NE(text.find("What happened"), std::string::npos);
    EXPECT_EQ(text.find("PDM:"), std::string::npos) << "empty facts are left out";
    EXPECT_EQ(pal::path::toNative(report).parent_path(), pal::path::toNative(folder));
    ASSERT_FALSE(logCopy.empty());
    EXPECT_NE(pal::test::readFile(pal::path::toNative(logCopy)).find("a line before the fault"),
              std::string::npos);
}

} // namespace
