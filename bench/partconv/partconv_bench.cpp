// Converts a generated partition of 100,000 bodies and copies a file of the same size, in
// one run, and prints both times and their ratio.
#include "pal/text.h"
#include "partconv/file_names.h"
#include "partconv/run.h"
#include "pskernel/content.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int bodyCount = 100'000;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

bool plainCopy(const fs::path& from, const fs::path& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    bool ok = in && out;
    std::vector<char> buffer(64 * 1024);
    while (ok) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0)
            break;
        ok = std::fwrite(buffer.data(), 1, n, out) == n;
    }
    if (in)
        std::fclose(in);
    if (out)
        ok = std::fclose(out) == 0 && ok;
    return ok;
}

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "partconv-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const fs::path dir = pattern;
    ::setenv("DV_PAL_ROOT", dir.c_str(), 1);

    std::vector<pskernel::content::Item> bodies(bodyCount);
    for (int i = 0; i < bodyCount; ++i) {
        bodies[i].bodyType = static_cast<std::uint8_t>(1 + i % 4);
        bodies[i].geometry.assign(32 + i % 64, static_cast<char>('a' + i % 26));
    }
    const fs::path input = dir / "bench.xmp_bin";
    std::ofstream(input, std::ios::binary)
        << partconv::headerLine1() << partconv::headerLine2() << "**PART1;\n"
        << partconv::headerEndLine() << pskernel::content::encodePartition(bodies);
    const auto bytes = fs::file_size(input);

    // Once untimed so both timed runs find the input in the page cache.
    plainCopy(input, dir / "warm.bin");

    const auto copyStart = std::chrono::steady_clock::now();
    const bool copied = plainCopy(input, dir / "copy.bin");
    const double copyTime = seconds(std::chrono::steady_clock::now() - copyStart);

    static partconv::Host* host = new partconv::Host;
    const auto convertStart = std::chrono::steady_clock::now();
    const int code = partconv::run(pal::text::fromUtf8((dir / "bench").string()), *host, stderr);
    const double convertTime = seconds(std::chrono::steady_clock::now() - convertStart);

    const auto written = fs::exists(dir / "bench.xmt_bin") ? fs::file_size(dir / "bench.xmt_bin") : 0;
    std::printf("partition: %d bodies, %llu bytes; part file: %llu bytes\n", bodyCount,
                static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(written));
    std::printf("convert    %9.3f ms\n", convertTime * 1e3);
    std::printf("plain copy %9.3f ms\n", copyTime * 1e3);
    std::printf("ratio      %9.2f (convert / copy)\n", copyTime > 0 ? convertTime / copyTime : 0.0);

    std::error_code ec;
    fs::remove_all(dir, ec);
    return code == 0 && copied ? 0 : 1;
}
