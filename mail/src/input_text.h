// The message text the caller writes to standard input: UTF-16 little-endian, no byte-order
// mark, no terminator.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace dvmail {

constexpr std::size_t kInputChunkBytes = 4096;

// One read of at most `size` bytes into `buffer`: the count read, 0 at the end, negative on
// failure.
using ReadChunk = std::function<long(char* buffer, std::size_t size)>;

// Reads to the end in chunks of kInputChunkBytes, stopping at the first empty or failed read.
// A chunk may end inside a character: its last byte waits for the next chunk, so text is
// never shifted by a short read; an odd byte left at the very end is dropped.
std::wstring readInputText(const ReadChunk& read);

// The process's standard input as a ReadChunk; every read fails when no standard input is
// attached. Call before anything opens a file, so that a closed descriptor 0 is still seen.
ReadChunk standardInput();

} // namespace dvmail
