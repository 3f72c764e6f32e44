#include "pal/responder.h"

#include "pal/detail/control.h"
#include "pal/journal.h"
#include "pal/text.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>

namespace pal::responder {
namespace {

struct Queue {
    std::mutex mutex;
    std::deque<Answer> answers;
    bool scriptLoaded = false;
};

Queue& queue() {
    static Queue* q = new Queue;
    return *q;
}

// A line of digits (with an optional sign) is a number; anything else is text.
Answer parse(const std::string& line) {
    Answer a;
    size_t i = (!line.empty() && (line[0] == '-' || line[0] == '+')) ? 1 : 0;
    bool digits = i < line.size() && line.size() - i <= 9;
    for (size_t j = i; digits && j < line.size(); ++j)
        digits = line[j] >= '0' && line[j] <= '9';
    if (digits)
        a.number = std::atoi(line.c_str());
    else
        a.text = text::fromUtf8(line);
    return a;
}

// Another process's answers come from the file named by DV_PAL_ANSWERS, read once.
void loadScript(Queue& q) {
    if (q.scriptLoaded)
        return;
    q.scriptLoaded = true;
    const char* file = std::getenv("DV_PAL_ANSWERS");
    if (!file || !*file)
        return;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        q.answers.push_back(parse(line));
    }
}

std::vector<std::pair<std::string, std::string>> fieldsOf(const Prompt& prompt, const std::string& answer) {
    return {{"kind", prompt.kind},
            {"text", text::toUtf8(prompt.text)},
            {"caption", text::toUtf8(prompt.caption)},
            {"flags", std::to_string(prompt.flags)},
            {"answer", answer}};
}

} // namespace

namespace {
std::atomic<bool> displayShown{false};
std::atomic<bool> displayGone{false};
} // namespace

bool displayLost() {
    return displayGone.load();
}

void setDisplayLost() {
    displayGone.store(true);
    displayShown.store(false);
}

bool displayShowsWindows() {
    return displayShown.load();
}

bool personAnswers() {
    return displayShown.load() && !effects::underTest();
}

void setDisplayShown(bool shown) {
    displayShown.store(shown);
}

std::string Answer::describe() const {
    return number ? std::to_string(*number) : text::toUtf8(text);
}

std::optional<Answer> take() {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    loadScript(q);
    if (q.answers.empty())
        return std::nullopt;
    Answer a = std::move(q.answers.front());
    q.answers.pop_front();
    return a;
}

void answered(const Prompt& prompt, const std::string& answer, const std::string& by) {
    auto fields = fieldsOf(prompt, answer);
    fields.emplace_back("by", by);
    journal::record("prompt", std::move(fields));
}

void unanswered(const Prompt& prompt, const std::string& taken) {
    journal::record("prompt.unanswered", fieldsOf(prompt, taken));
    std::fprintf(stderr, "%s: %s: %s (no answer given; taking %s)\n", prompt.kind.c_str(),
                 text::toUtf8(prompt.caption).c_str(), text::toUtf8(prompt.text).c_str(), taken.c_str());
}

void refused(const Prompt& prompt, const Answer& answer, const std::string& reason) {
    auto fields = fieldsOf(prompt, answer.describe());
    fields.emplace_back("reason", reason);
    journal::record("prompt.refused", std::move(fields));
    std::fprintf(stderr, "%s: %s: %s (answer \"%s\" refused: %s)\n", prompt.kind.c_str(),
                 text::toUtf8(prompt.caption).c_str(), text::toUtf8(prompt.text).c_str(),
                 answer.describe().c_str(), reason.c_str());
}

int ask(const Prompt& prompt) {
    const std::optional<Answer> a = take();
    if (!a) {
        unanswered(prompt, std::to_string(prompt.defaultAnswer));
        return prompt.defaultAnswer;
    }
    if (!a->number) {
        refused(prompt, *a, "a number was expected");
        return prompt.defaultAnswer;
    }
    answered(prompt, std::to_string(*a->number), "responder");
    return *a->number;
}

} // namespace pal::responder

namespace pal::detail {

void pushAnswer(int answer) {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    q.scriptLoaded = true; // a test's own queue replaces any script
    q.answers.push_back(responder::Answer{answer, {}});
}

void pushTextAnswer(const std::wstring& answer) {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    q.scriptLoaded = true;
    q.answers.push_back(responder::Answer{std::nullopt, answer});
}

void clearAnswers() {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    q.answers.clear();
    q.scriptLoaded = true;
}

void reloadAnswerScript() {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    q.answers.clear();
    q.scriptLoaded = false;
}

std::size_t pendingAnswers() {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    return q.answers.size();
}

} // namespace pal::detail
