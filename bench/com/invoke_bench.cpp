// 10,000 Invoke round trips of a method that takes and returns a short string, through a
// server process, side by side with a raw Unix-socket ping-pong carrying the same bytes.
// Prints both times and their ratio (the automation link aims at 3x the raw socket or less).
#include "pal/com/link.h"
#include "pal/com/variant.h"
#include "pal/text.h"
#include "win/com.h"
#include "win/user.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kRounds = 10000;
constexpr CLSID kBenchClass = {0x5EC0B001, 0x2A9E, 0x4C11, {0x9D, 0x31, 0x6A, 0x22, 0x10, 0x0C, 0x0B, 0x01}};
const std::wstring kPayload = L"Иванов И.И.";

// Echo(text) returns its argument.
class Echo : public IDispatch {
public:
    HRESULT QueryInterface(REFIID iid, void** o) override {
        *o = (iid == IID_IUnknown || iid == IID_IDispatch) ? this : nullptr;
        return *o ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* ids) override {
        ids[0] = 1;
        return S_OK;
    }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* r, EXCEPINFO*, UINT*) override {
        return p->cArgs == 1 ? VariantCopy(r, &p->rgvarg[0]) : DISP_E_BADPARAMCOUNT;
    }
};

class Factory : public IClassFactory {
public:
    Echo echo;
    HRESULT QueryInterface(REFIID, void** o) override {
        *o = this;
        return S_OK;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateInstance(IUnknown*, REFIID iid, void** o) override { return echo.QueryInterface(iid, o); }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

[[noreturn]] void serveAutomation() {
    CoInitialize(nullptr);
    Factory factory;
    DWORD cookie = 0;
    if (FAILED(
            CoRegisterClassObject(kBenchClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
        std::_Exit(3);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    std::_Exit(0);
}

[[noreturn]] void serveRaw(int fd) {
    std::string body;
    while (pal::com::link::readFrame(fd, body) == pal::com::link::ReadResult::Frame) {
        std::string frame(4, '\0');
        for (int i = 0; i < 4; ++i)
            frame[i] = static_cast<char>((body.size() >> (8 * i)) & 0xFF);
        if (!pal::com::link::sendAll(fd, frame + body))
            break;
    }
    std::_Exit(0);
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main() {
    char root[] = "/tmp/dvbench-com-XXXXXX";
    if (!::mkdtemp(root))
        return 1;
    ::setenv("DV_PAL_ROOT", root, 1);

    // The raw reference: the same payload as UTF-16, framed, echoed by another process.
    int pair[2];
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, pair);
    const pid_t raw = ::fork();
    if (raw == 0) {
        ::close(pair[0]);
        serveRaw(pair[1]);
    }
    ::close(pair[1]);
    const std::string payload = pal::text::toUtf16leBytes(kPayload);
    std::string frame(4, '\0');
    for (int i = 0; i < 4; ++i)
        frame[i] = static_cast<char>((payload.size() >> (8 * i)) & 0xFF);
    frame += payload;
    std::string body;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) {
        pal::com::link::sendAll(pair[0], frame);
        pal::com::link::readFrame(pair[0], body);
    }
    const double rawTime = seconds(std::chrono::steady_clock::now() - t0);
    ::close(pair[0]);
    ::waitpid(raw, nullptr, 0);

    const pid_t server = ::fork();
    if (server == 0)
        serveAutomation();
    CoInitialize(nullptr);
    IDispatch* echo = nullptr;
    for (int i = 0; i < 500 && !echo; ++i) {
        if (FAILED(CoCreateInstance(kBenchClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&echo))))
            ::usleep(10000);
    }
    if (!echo) {
        std::fprintf(stderr, "the automation server did not start\n");
        ::kill(server, SIGKILL);
        return 2;
    }
    pal::com::Variant arg;
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocStringLen(kPayload.data(), static_cast<UINT>(kPayload.size()));
    DISPPARAMS params{&arg, nullptr, 1, 0};
    t0 = std::chrono::steady_clock::now();
    bool failed = false;
    for (int i = 0; i < kRounds && !failed; ++i) {
        pal::com::Variant result;
        UINT err = 0;
        if (FAILED(echo->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, &err))) {
            std::fprintf(stderr, "call %d failed\n", i);
            failed = true;
        }
    }
    const double comTime = seconds(std::chrono::steady_clock::now() - t0);
    echo->Release();
    ::kill(server, SIGKILL);
    ::waitpid(server, nullptr, 0);
    std::filesystem::remove_all(root);
    if (failed)
        return 3; // a time for fewer round trips than announced is no measurement

    std::printf("%d round trips of a %zu-character string\n", kRounds, kPayload.size());
    std::printf("raw socket ping-pong: %8.3f ms (%6.2f us per round trip)\n", rawTime * 1e3,
                rawTime * 1e6 / kRounds);
    std::printf("automation Invoke:    %8.3f ms (%6.2f us per round trip)\n", comTime * 1e3,
                comTime * 1e6 / kRounds);
    std::printf("ratio: %.2fx (target: 3x or less)\n", comTime / rawTime);
    return 0;
}
