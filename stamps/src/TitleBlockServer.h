// What an editor calls of the running DravikCad: the active document's variables and the
// application's focus. The program reaches them through the automation server; tests put a
// recording object in their place.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace stamps {

// A call that failed, with the text the person is shown.
class ServerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TitleBlockServer {
public:
    virtual ~TitleBlockServer() = default;
    virtual std::wstring GetVarExpression(const std::wstring& name) = 0;
    virtual void SetVarExpression(const std::wstring& name, const std::wstring& value) = 0;
    virtual void OK(const std::wstring& undoName) = 0;
    virtual void Cancel() = 0;
    // Brings DravikCad's window to the foreground.
    virtual void SetFocus() = 0;
};

// Connects late, by name, to "DVW32.SERVER": the application object, its active document and
// that document's variables. Throws ServerError when DravikCad or its active document cannot be
// reached.
std::unique_ptr<TitleBlockServer> connectToDravikCad();

} // namespace stamps
