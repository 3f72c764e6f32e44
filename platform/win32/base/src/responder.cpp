#include "pal/responder.h"

#include "pal/detail/control.h"
#include "pal/journal.h"
#include "pal/text.h"

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
    std::deque<int> answers;
    bool scriptLoaded = false;
};

Queue& queue() {
    static Queue* q = new Queue;
    return *q;
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
        if (line.empty() || line[0] == '#')
            continue;
        q.answers.push_back(std::atoi(line.c_str()));
    }
}

} // namespace

int ask(const Prompt& prompt) {
    int answer = prompt.defaultAnswer;
    bool answered = false;
    {
        Queue& q = queue();
        std::lock_guard lock(q.mutex);
        loadScript(q);
        if (!q.answers.empty()) {
            answer = q.answers.front();
            q.answers.pop_front();
            answered = true;
        }
    }
    journal::record(answered ? "prompt" : "prompt.unanswered", {{"kind", prompt.kind},
                                                                {"text", text::toUtf8(prompt.text)},
                                                                {"caption", text::toUtf8(prompt.caption)},
                                                                {"flags", std::to_string(prompt.flags)},
                                                                {"answer", std::to_string(answer)}});
    if (!answered)
        std::fprintf(stderr, "%s: %s: %s (no answer given; taking %d)\n", prompt.kind.c_str(),
                     text::toUtf8(prompt.caption).c_str(), text::toUtf8(prompt.text).c_str(), answer);
    return answer;
}

} // namespace pal::responder

namespace pal::detail {

void pushAnswer(int answer) {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    q.scriptLoaded = true; // a test's own queue replaces any script
    q.answers.push_back(answer);
}

void clearAnswers() {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    q.answers.clear();
    q.scriptLoaded = true;
}

std::size_t pendingAnswers() {
    auto& q = responder::queue();
    std::lock_guard lock(q.mutex);
    return q.answers.size();
}

} // namespace pal::detail
