// The kernel's rollback deltas, kept in memory in chains of 1024-byte blocks. Each operation
// answers a kernel error code and prints every refusal as a message.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace partconv {

enum DeltaCode : int {
    deltaOk = 0,
    deltaBadKey = 565, // a bad key, or a delta in the wrong state
    deltaNoMemory = 901,
    deltaReadPastEnd = 1082,
};

inline constexpr std::size_t deltaBlockSize = 1024;

class DeltaStore {
public:
    using Printer = std::function<void(const std::string&)>;

    // Messages go to standard output unless a printer is given.
    DeltaStore();
    explicit DeltaStore(Printer printer);
    ~DeltaStore();
    DeltaStore(const DeltaStore&) = delete;
    DeltaStore& operator=(const DeltaStore&) = delete;

    int openForWrite(int mark, std::uint32_t* key);
    int openForRead(std::uint32_t key);
    int close(std::uint32_t key);
    int write(std::uint32_t key, std::size_t count, const char* bytes);
    int read(std::uint32_t key, std::size_t count, char* buffer);
    int remove(std::uint32_t key);
    // Releases the delta at that table index.
    void freeDelta(std::size_t index);

    std::uint32_t tableSize() const { return nDeltas_; }

private:
    struct Block {
        Block() = default;
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;
        ~Block(); // frees the blocks after it one by one: a long delta must not recurse
        std::uint64_t used = 0;
        std::unique_ptr<Block> next;
        unsigned char data[deltaBlockSize];
    };
    enum class Direction { writing = 0, reading = 1 };
    struct Delta {
        int mark = 0;
        bool open = false;
        Direction direction = Direction::writing;
        std::unique_ptr<Block> first;
        Block* current = nullptr;
        std::uint32_t position = 0;
        // Kept beside the chain so that a read checks what is left without walking it.
        std::uint64_t size = 0;
        std::uint64_t consumed = 0;
    };

    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The delta for a key, or null after printing the refusal; `period` chooses the wording
    // of the "does not exist" message.
    Delta* lookup(const char* caller, std::uint32_t key, bool period);

    std::vector<std::unique_ptr<Delta>> table_;
    std::uint32_t nDeltas_ = 0;
    Printer printer_;
};

} // namespace partconv

// The six callbacks registered with the kernel and the release routine, working on the
// store bound by bindDeltaStore (a store of their own until then).
extern "C" {
int FRU_delta_open_for_write(int mark, unsigned* key);
int FRU_delta_open_for_read(unsigned key);
int FRU_delta_close(unsigned key);
int FRU_delta_write(unsigned key, std::size_t n_bytes, const char* bytes);
int FRU_delta_read(unsigned key, std::size_t n_bytes, char* buffer);
int FRU_delta_delete(unsigned key);
void free_delta(std::size_t index);
}

namespace partconv {
void bindDeltaStore(DeltaStore* store);
}

DV_EXPORTS_END
