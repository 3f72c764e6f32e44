// Fuzz target of the partition reader: each input is served as the content of a partition
// file through an in-memory frustrum. A received partition must transmit into a part file
// that reads back with as many parts as the partition holds.
#include "pskernel.h"
#include "pskernel/content.h"
#include "pskernel/test/reset.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::uint8_t* input = nullptr;
std::size_t inputSize = 0;
std::size_t inputAt = 0;
std::string written;

void ok(int* status) {
    *status = 0;
}
void allocate(const size_t* size, char** p, int* status) {
    *p = static_cast<char*>(std::malloc(*size));
    *status = *p ? 0 : 15;
}
void release(const size_t*, char* const* p, int* status) {
    std::free(*p);
    *status = 0;
}
void openRead(const int*, const int*, const char*, const int*, const int*, int*, int* status) {
    *status = 99;
}
void openWrite(const int*, const int*, const char*, const int*, const char*, const int*, int*, int* status) {
    *status = 99;
}
void close(const int*, const int*, const int*, int* status) {
    *status = 0;
}
void read(const int*, const int*, const int* max, char* buffer, int* got, int* status) {
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(*max), inputSize - inputAt);
    if (n == 0) {
        *status = 4;
        return;
    }
    std::memcpy(buffer, input + inputAt, n);
    inputAt += n;
    *got = static_cast<int>(n);
    *status = 0;
}
void write(const int*, const int*, const int* length, const char* data, int* status) {
    written.append(data, static_cast<std::size_t>(*length));
    *status = 0;
}
int openReadWide(int, int, const wchar_t*, int, int* id) {
    inputAt = 0;
    *id = 1;
    return 0;
}
int openWriteWide(int, int, const wchar_t*, const char*, int* id) {
    written.clear();
    *id = 2;
    return 0;
}

std::vector<std::string> deltas;
int deltaOpen(int, PK_DELTA_t* key) {
    deltas.emplace_back();
    *key = static_cast<PK_DELTA_t>(deltas.size());
    return 0;
}
int deltaKey(PK_DELTA_t) {
    return 0;
}
int deltaWrite(PK_DELTA_t key, size_t n, const char* bytes) {
    deltas[key - 1].append(bytes, n);
    return 0;
}
int deltaRead(PK_DELTA_t, size_t, char*) {
    return 1082;
}

void startSession() {
    pskernel::test::resetSession();
    deltas.clear();
    PK_SESSION_frustrum_t f{};
    f.start = ok;
    f.abort = ok;
    f.stop = ok;
    f.allocate = allocate;
    f.release = release;
    f.open_read = openRead;
    f.open_write = openWrite;
    f.close = close;
    f.read = read;
    f.write = write;
    f.open_read_wide = openReadWide;
    f.open_write_wide = openWriteWide;
    PK_SESSION_set_unicode(1);
    PK_SESSION_register_frustrum(&f);
    PK_DELTA_register_callbacks({deltaOpen, deltaKey, deltaKey, deltaWrite, deltaRead, deltaKey});
    const PK_SESSION_start_o_t start{1, nullptr, 0, 1};
    if (PK_SESSION_start(&start) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    startSession();
    input = data;
    inputSize = size;
    const PK_PARTITION_receive_o_t receive{
        10, PK_transmit_format_binary, 0, 0, 0, nullptr, nullptr, 0, nullptr, 0, 0, 0, 0};
    PK_PARTITION_t partition = 0;
    if (PK_PARTITION_receive_u(L"fuzz", &receive, &partition) != 0) {
        if (partition != 0)
            std::abort();
        return 0;
    }
    std::vector<PK_PART_t> parts;
    int n = 0;
    PK_TAG_t* tags = nullptr;
    if (PK_PARTITION_ask_assemblies(partition, &n, &tags) != 0)
        std::abort();
    parts.insert(parts.end(), tags, tags + n);
    PK_MEMORY_free(tags);
    if (PK_PARTITION_ask_bodies(partition, &n, &tags) != 0)
        std::abort();
    parts.insert(parts.end(), tags, tags + n);
    PK_MEMORY_free(tags);

    const PK_PART_transmit_o_t transmit{4, PK_transmit_format_binary, 1, 0, 0, nullptr, 0};
    if (PK_PART_transmit_u(static_cast<int>(parts.size()), parts.data(), L"out", &transmit) != 0)
        std::abort();
    std::vector<pskernel::content::Item> back;
    if (!pskernel::content::decodePart(written, back) || back.size() != parts.size())
        std::abort();
    if (deltas.size() != 1 || deltas[0].size() != parts.size() * 5)
        std::abort();
    return 0;
}
