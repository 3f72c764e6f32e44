// What the item controls tell their parent, written as "CODE item detail" so that a test reads
// the order of notifications as a table; and the parent's answers to them.
#pragma once

#include "notifications.h"

#include <map>

namespace controlstest {

class ItemControlTest : public ControlTest {
public:
    void SetUp() override;
    // The parent answers `code` with `result` (a refusal, an accepted edit, custom-draw flags).
    std::map<UINT, LRESULT> replies;
    // Runs for every notification before it is written down.
    std::function<void(const NMHDR*)> onNotify;
    // Notifications not worth a line in most tables.
    bool quietPaint = true;
};

std::string describe(const NMHDR* h);

} // namespace controlstest
