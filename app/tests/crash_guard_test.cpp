// The crash guard with the application's context: a fault that leaves a guarded body is
// reported once, its marks are the application's, and the operation answers its failure value.
#include "startup_fixture.h"

#include "app/CrashGuard.h"
#include "app/GenerateDumpFileAppContext.h"

#include <stdexcept>

namespace dvapp::test {
namespace {

class CountingContext : public GenerateDumpFileAppContext {
public:
    explicit CountingContext(int& shown) : shown_(shown) {}
    int ShowErrorDialog(const std::wstring&) override {
        ++shown_;
        return kClose;
    }

private:
    int& shown_;
};

class CrashGuard : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        app = std::make_unique<DravikApp>();
    }
};

TEST_F(CrashGuard, AFaultIsReportedOnceAndTheMarksAreTheApplications) {
    int shown = 0;
    CountingContext context(shown);
    EXPECT_EQ(RunGuarded(&context, -1, [] { return 5; }), 5);
    EXPECT_FALSE(app->HasApplicationState(CDvw32App::kStateErrorMark));

    struct Fault {
        const char* name;
        std::function<int()> body;
    };
    const Fault faults[] = {
        {"a standard exception", []() -> int { throw std::runtime_error("broken"); }},
        {"an MFC exception", []() -> int { AfxThrowResourceException(); }},
        {"anything else", []() -> int { throw 42; }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        EXPECT_EQ(RunGuarded(&context, -1, fault.body), -1);
    }
    EXPECT_EQ(shown, 1) << "a fault while the mark is set makes no second report";
    EXPECT_TRUE(app->HasApplicationState(CDvw32App::kStateErrorMark));
    EXPECT_TRUE(app->HasApplicationState(CDvw32App::kStateSafeToExit));
    EXPECT_FALSE(app->HasApplicationState(CDvw32App::kStateErrorRestore)) << "the person chose to close";
}

TEST_F(CrashGuard, WithoutAContextTheFaultGoesOnUp) {
    EXPECT_THROW(RunGuarded(nullptr, 0, []() -> int { throw std::runtime_error("broken"); }),
                 std::runtime_error);
}

} // namespace
} // namespace dvapp::test
