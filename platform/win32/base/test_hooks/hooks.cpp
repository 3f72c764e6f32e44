#include "pal/test/hooks.h"

namespace pal::test {

void setManualClock(bool manual) {
    detail::setManualClock(manual);
}
void advanceClock(std::uint64_t ms) {
    detail::advanceClock(ms);
}

void pushAnswer(int answer) {
    detail::pushAnswer(answer);
}
void pushAnswer(const std::wstring& answer) {
    detail::pushTextAnswer(answer);
}
void reloadAnswerScript() {
    detail::reloadAnswerScript();
}
void clearAnswers() {
    detail::clearAnswers();
}
std::size_t pendingAnswers() {
    return detail::pendingAnswers();
}

void injectWriteFailure(WriteStep step, int error) {
    detail::injectWriteFailure(step, error);
}
void clearWriteFailure() {
    detail::clearWriteFailure();
}

} // namespace pal::test
