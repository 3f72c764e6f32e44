// The sandbox's clipboard store: one SQLite file (<root>/clipboard.db) shared by every program
// of the sandbox. It holds the registered format names, the clipboard itself (slot 0: its owner,
// the window that holds it open, a change sequence and the blocks by format), and the data of
// drags between programs (one slot per drag, gone when the drag ends).
#pragma once

#include "win/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pal::ole {

constexpr std::int64_t kClipboardSlot = 0;

struct BoardState {
    std::uint64_t sequence = 0;
    std::uint64_t owner = 0; // window handle value in the owner's program
    std::int64_t ownerPid = 0;
    std::uint64_t opener = 0;
    std::int64_t openerPid = 0;
    std::int64_t openerTid = 0;
};

class ClipboardStore {
public:
    static ClipboardStore& instance();

    // 0 when the name is empty, too long, or the range is used up.
    UINT registerFormat(const std::wstring& name);
    std::wstring formatName(UINT format);

    // The clipboard's state; an opener whose program has ended counts as none.
    BoardState state(std::int64_t slot);
    // Takes the slot for this thread and window: false when another program or thread holds it.
    bool open(std::int64_t slot, std::uint64_t window, std::int64_t tid);
    // False when this thread does not hold it.
    bool close(std::int64_t slot, std::int64_t tid);
    // Clears the blocks, makes the opener the owner and moves the sequence on; the state before
    // comes back in `previous`. False when this thread does not hold it.
    bool empty(std::int64_t slot, std::int64_t tid, BoardState& previous);
    // Stores a block (replacing one of the same format) and moves the sequence on: the new
    // sequence, or 0 when it could not be stored.
    std::uint64_t put(std::int64_t slot, UINT format, const std::string& bytes);
    std::optional<std::string> get(std::int64_t slot, UINT format);
    // In the order they were stored.
    std::vector<UINT> formats(std::int64_t slot);

    // A fresh slot for a drag of this program, and its removal with its blocks.
    std::int64_t newSlot();
    void dropSlot(std::int64_t slot);

private:
    ClipboardStore() = default;
};

} // namespace pal::ole

namespace pal::ole {

// The formats a slot offers: those stored, then the text format that conversion offers.
std::vector<UINT> offeredFormats(std::int64_t slot);
// The block of `format` in `slot`, converted from the other text format when needed; nullopt
// when absent or not sound (ERROR_NOT_FOUND or ERROR_INVALID_DATA set).
std::optional<std::string> readFormat(std::int64_t slot, UINT format);

} // namespace pal::ole
