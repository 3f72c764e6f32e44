// A variables object that records every call an editor makes, in order, and answers reads from
// a table of expressions.
#pragma once

#include "TitleBlockServer.h"

#include <map>
#include <string>
#include <vector>

namespace stamps::test {

class RecordingServer : public TitleBlockServer {
public:
    std::map<std::wstring, std::wstring> expressions;
    std::vector<std::wstring> calls; // "get NAME", "set NAME=VALUE", "OK NAME", "Cancel", "SetFocus"
    std::map<std::wstring, std::wstring> written;
    std::wstring failOn; // a call ("get", "set", "OK", ...) that fails as a broken link would

    void maybeFail(const std::wstring& call) {
        if (call == failOn)
            throw ServerError("call failed");
    }

    std::wstring GetVarExpression(const std::wstring& name) override {
        calls.push_back(L"get " + name);
        maybeFail(L"get");
        const auto found = expressions.find(name);
        return found == expressions.end() ? std::wstring() : found->second;
    }
    void SetVarExpression(const std::wstring& name, const std::wstring& value) override {
        calls.push_back(L"set " + name + L"=" + value);
        maybeFail(L"set");
        written[name] = value;
    }
    void OK(const std::wstring& undoName) override {
        calls.push_back(L"OK " + undoName);
        maybeFail(L"OK");
    }
    void Cancel() override {
        calls.push_back(L"Cancel");
        maybeFail(L"Cancel");
    }
    void SetFocus() override { calls.push_back(L"SetFocus"); }

    // The calls of one kind ("get", "set", ...), in order, without their prefix.
    std::vector<std::wstring> of(const std::wstring& kind) const {
        std::vector<std::wstring> out;
        for (const auto& c : calls)
            if (c.starts_with(kind + L" "))
                out.push_back(c.substr(kind.size() + 1));
        return out;
    }
};

} // namespace stamps::test
