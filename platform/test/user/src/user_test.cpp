#include "pal/test/user_test.h"

namespace pal::test {

void UserTest::SetUp() {
    SandboxTest::SetUp();
    resetUserState();
}

void UserTest::TearDown() {
    resetUserState();
    SandboxTest::TearDown();
}

} // namespace pal::test
