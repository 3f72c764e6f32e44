// The child process of the system layer's tests. Its first argument says what it does:
//   echo-stdin <code>            copy standard input to standard output, then exit with <code>
//   argv                         print the command line, then each argument, one a line (UTF-8)
//   sleep                        wait until killed
//   reg-writer <name> <n> <seed> write <n> values to shared keys, in an order drawn from <seed>
//   reg-loop                     write values v0, v1, ... and print each index once committed
//   reg-batches                  write batches of 20 values b<i>-0 ... b<i>-19, printing i once each
//                                batch is committed
#include "win/system.h"

#include "pal/registry.h"
#include "pal/text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void writeOut(const std::string& s) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

int echoStdin(int code) {
    std::string all;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &n, nullptr) && n > 0)
        all.append(buffer, n);
    if (GetLastError() != ERROR_BROKEN_PIPE)
        return 100;
    writeOut(all);
    return code;
}

int printArgv() {
    std::string out = pal::text::toUtf8(GetCommandLineW()) + "\n";
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i)
        out += pal::text::toUtf8(argv[i]) + "\n";
    LocalFree(argv);
    writeOut(out);
    return 0;
}

int regWriter(const std::wstring& name, int n, unsigned seed) {
    // Each value once, in a shuffled order, spread over shared subkeys created on the way.
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    for (int i : order) {
        const std::wstring path = L"Software\\Race\\K" + std::to_wstring(i % 7);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return 2;
        const DWORD value = static_cast<DWORD>(i);
        const std::wstring valueName = name + L"-" + std::to_wstring(i);
        if (RegSetValueExW(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value) != ERROR_SUCCESS)
            return 3;
        // Both writers also overwrite one shared value; the last write wins whole.
        const std::wstring text = name + L":" + std::to_wstring(i);
        if (RegSetValueExW(key, L"Last", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            return 4;
        RegCloseKey(key);
    }
    return 0;
}

int regLoop() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Crash", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 2;
    for (DWORD i = 0;; ++i) {
        const std::wstring name = L"v" + std::to_wstring(i);
        const std::wstring text(200, static_cast<wchar_t>(L'a' + i % 26)); // a few pages per value
        if (RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            return 3;
        writeOut(std::to_string(i) + "\n");
    }
}

int regBatches() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Batches", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 2;
    for (int i = 0;; ++i) {
        pal::reg::Batch batch;
        for (int k = 0; k < 20; ++k) {
            const std::wstring name = L"b" + std::to_wstring(i) + L"-" + std::to_wstring(k);
            const std::wstring text(200, static_cast<wchar_t>(L'a' + k));
            if (RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
                return 3;
        }
        if (!batch.commit())
            return 4;
        writeOut(std::to_string(i) + "\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "echo-stdin")
        return echoStdin(argc > 2 ? std::atoi(argv[2]) : 0);
    if (mode == "argv")
        return printArgv();
    if (mode == "sleep") {
        for (;;)
            ::pause();
    }
    if (mode == "reg-writer" && argc > 4) {
        return regWriter(pal::text::fromUtf8(argv[2]), std::atoi(argv[3]),
                         static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)));
    }
    if (mode == "reg-batches")
        return regBatches();
    if (mode == "reg-loop")
        return regLoop();
    std::fprintf(stderr, "dvpal_system_child: unknown mode \"%s\"\n", mode.c_str());
    return 99;
}
