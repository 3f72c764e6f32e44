// Reads existing registry values through RegQueryValueExW and, side by side in the same run,
// the same values straight from the database file with one prepared SQLite statement. Prints
// both timings and their ratio (target: at most 1.5).
#include "win/system.h"

#include "pal/registry.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kKeys = 50;
constexpr int kValuesPerKey = 20;
constexpr int kReads = 1000;
constexpr int kRounds = 15;

struct Read {
    HKEY key; // for RegQueryValueExW
    std::wstring name;
    std::int64_t keyId; // for the direct read
    std::string folded;
};

double toMicros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

} // namespace

int main() {
    // A sandbox of its own, so the user's registry is never touched.
    std::string pattern = (fs::temp_directory_path() / "dvbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("DV_PAL_ROOT", pattern.c_str(), 1);
    pal::sandbox::reset();

    std::vector<HKEY> keys;
    for (int k = 0; k < kKeys; ++k) {
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Dravik\\Bench\\Key" + std::to_wstring(k);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return 1;
        for (int v = 0; v < kValuesPerKey; ++v) {
            const std::wstring name = L"Value" + std::to_wstring(v);
            if (v % 2) {
                const std::wstring text =
                    L"C:\\Users\\Someone\\Documents\\Drawing" + std::to_wstring(v) + L".dvw";
                RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
            } else {
                const DWORD d = static_cast<DWORD>(v);
                RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), sizeof d);
            }
        }
        keys.push_back(key);
    }

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(pal::reg::databasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return 1;
    sqlite3_stmt* keyId = nullptr;
    sqlite3_prepare_v2(db, "SELECT id FROM keys WHERE name = ?", -1, &keyId, nullptr);
    sqlite3_stmt* point = nullptr;
    sqlite3_prepare_v2(db, "SELECT type, data FROM vals WHERE key = ? AND folded = ?", -1, &point, nullptr);

    std::mt19937 random(2024);
    std::vector<Read> reads;
    for (int i = 0; i < kReads; ++i) {
        const int k = static_cast<int>(random() % kKeys);
        const int v = static_cast<int>(random() % kValuesPerKey);
        Read r;
        r.key = keys[static_cast<size_t>(k)];
        r.name = L"Value" + std::to_wstring(v);
        r.folded = "VALUE" + std::to_string(v);
        const std::string keyName = "Key" + std::to_string(k);
        sqlite3_bind_text(keyId, 1, keyName.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(keyId);
        r.keyId = sqlite3_column_int64(keyId, 0);
        sqlite3_reset(keyId);
        reads.push_back(std::move(r));
    }

    size_t checksum = 0;
    auto throughApi = [&] {
        const auto start = Clock::now();
        for (const auto& r : reads) {
            BYTE buffer[512];
            DWORD type = 0, cb = sizeof buffer;
            if (RegQueryValueExW(r.key, r.name.c_str(), nullptr, &type, buffer, &cb) != ERROR_SUCCESS)
                std::abort();
            checksum += cb + type;
        }
        return Clock::now() - start;
    };
    auto direct = [&] {
        const auto start = Clock::now();
        for (const auto& r : reads) {
            sqlite3_bind_int64(point, 1, r.keyId);
            sqlite3_bind_text(point, 2, r.folded.data(), static_cast<int>(r.folded.size()), SQLITE_STATIC);
            if (sqlite3_step(point) != SQLITE_ROW)
                std::abort();
            const auto type = static_cast<DWORD>(sqlite3_column_int(point, 0));
            BYTE buffer[512];
            const int n = sqlite3_column_bytes(point, 1);
            std::copy_n(static_cast<const BYTE*>(sqlite3_column_blob(point, 1)), n, buffer);
            checksum += static_cast<size_t>(n) + type + buffer[0];
            sqlite3_reset(point);
        }
        return Clock::now() - start;
    };

    // Alternate the two in every round and keep each one's best round.
    throughApi();
    direct();
    auto bestApi = Clock::duration::max(), bestDirect = Clock::duration::max();
    for (int round = 0; round < kRounds; ++round) {
        bestApi = std::min(bestApi, throughApi());
        bestDirect = std::min(bestDirect, direct());
    }
    const double api = toMicros(bestApi), sql = toMicros(bestDirect);
    std::printf("registry reads: %d values, best of %d rounds\n", kReads, kRounds);
    std::printf("  RegQueryValueExW      %10.1f us  (%.2f us per read)\n", api, api / kReads);
    std::printf("  SQLite point reads    %10.1f us  (%.2f us per read)\n", sql, sql / kReads);
    std::printf("  ratio                 %10.2fx  (target: at most 1.50x)\n", api / sql);
    std::printf("  (checksum %zu)\n", checksum);

    sqlite3_finalize(keyId);
    sqlite3_finalize(point);
    sqlite3_close(db);
    for (HKEY k : keys)
        RegCloseKey(k);
    std::error_code ec;
    fs::remove_all(pattern, ec);
    return 0;
}
