#include "DravikKernel/KernelRuntime.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string_view>

bool g_bTraceMessages = false;
Country COUNTRY = English;

namespace {

void record(const std::string& call) {
    dvtrace::record(dvkernel::kTraceName, call);
}

// The stand-in's macro manager knows no macros; it keeps the configuration it is given.
class MacroManager : public IMacroManager {
public:
    void SetConfiguration(const wchar_t* configuration) override {
        std::lock_guard lock(m_mutex);
        m_configuration = configuration ? configuration : L"";
    }
    std::wstring GetConfiguration() const override {
        std::lock_guard lock(m_mutex);
        return m_configuration;
    }
    void SetTheme(const wchar_t* theme) override {
        std::lock_guard lock(m_mutex);
        m_theme = theme ? theme : L"";
    }
    std::wstring GetTheme() const override {
        std::lock_guard lock(m_mutex);
        return m_theme;
    }
    bool RunMacro(const wchar_t*, CDvw32Doc*) override { return false; }
    void EnableWindows(bool enable) override { m_windowsEnabled = enable; }
    bool AreWindowsEnabled() const override { return m_windowsEnabled; }

private:
    std::atomic<bool> m_windowsEnabled{true};
    mutable std::mutex m_mutex;
    std::wstring m_configuration;
    std::wstring m_theme;
};

struct Runtime {
    std::mutex mutex;
    std::unique_ptr<MacroManager> macros;
    std::atomic<unsigned> idle{0};
    std::atomic<bool> paused{false};
};

Runtime& runtime() {
    static Runtime* r = new Runtime;
    return *r;
}

} // namespace

namespace dvkernel {
void resetRuntime() {
    std::lock_guard lock(runtime().mutex);
    runtime().macros.reset();
    runtime().idle = 0;
    runtime().paused = false;
    g_bTraceMessages = false;
    COUNTRY = English;
}

void updateCountry(const std::wstring& alpha2) {
    static constexpr std::pair<std::wstring_view, Country> kCountries[] = {
        {L"ru", Russian}, {L"zh", Chinese}, {L"en", English},  {L"de", German}, {L"it", Italian},
        {L"pl", Polish},  {L"ko", Korean},  {L"ja", Japanese}, {L"cs", Czech},
    };
    COUNTRY = English;
    for (const auto& [code, country] : kCountries)
        if (alpha2 == code)
            COUNTRY = country;
}
} // namespace dvkernel

std::time_t DVGetBuildTime() {
    // The compiler's date and time of this file, read as local time.
    std::tm built{};
    char month[4] = {};
    std::sscanf(__DATE__, "%3s %d %d", month, &built.tm_mday, &built.tm_year);
    std::sscanf(__TIME__, "%d:%d:%d", &built.tm_hour, &built.tm_min, &built.tm_sec);
    static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    built.tm_mon = static_cast<int>(kMonths.find(month) / 3);
    built.tm_year -= 1900;
    built.tm_isdst = -1;
    return std::mktime(&built);
}

std::wstring DVGetWebsiteAddress() {
    return L"https://www.dravik.example/";
}

void automenu(int show) {
    record("automenu(" + std::to_string(show) + ")");
}

void ShowSyspanelSet(int show) {
    record("ShowSyspanelSet(" + std::to_string(show) + ")");
}

IMacroManager* MacroManagerInstance() {
    std::lock_guard lock(runtime().mutex);
    return runtime().macros.get();
}

IMacroManager* InitializeMacroManagerInstance() {
    std::lock_guard lock(runtime().mutex);
    if (!runtime().macros)
        runtime().macros = std::make_unique<MacroManager>();
    return runtime().macros.get();
}

namespace dvrt {

TaskManager& TaskManager::Instance() {
    static TaskManager* manager = new TaskManager;
    return *manager;
}

void TaskManager::Idle() {
    ++runtime().idle;
}

unsigned TaskManager::GetIdleCount() const {
    return runtime().idle;
}

StatusLineBkProcManager& StatusLineBkProcManager::Instance() {
    static StatusLineBkProcManager* manager = new StatusLineBkProcManager;
    return *manager;
}

void StatusLineBkProcManager::Pause() {
    runtime().paused = true;
    record("StatusLineBkProcManager::Pause");
}

void StatusLineBkProcManager::Resume() {
    runtime().paused = false;
    record("StatusLineBkProcManager::Resume");
}

void StatusLineBkProcManager::Interrupt() {
    runtime().paused = false;
    record("StatusLineBkProcManager::Interrupt");
}

void StatusLineBkProcManager::Update() {
    // No background task runs in the stand-in: the indicator stays hidden.
}

bool StatusLineBkProcManager::IsPaused() const {
    return runtime().paused;
}

} // namespace dvrt
