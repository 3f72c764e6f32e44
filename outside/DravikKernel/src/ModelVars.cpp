#include "DravikKernel/ModelVars.h"

#include "DravikKernel/Document.h"

namespace Dravik {

std::wstring ModelVars::GetVarExpression(const std::wstring& name) const {
    const DVDocument& content = *document_.Cont2D();
    const int i = content.FindVariable(name);
    return i < 0 ? std::wstring() : content.GetVariables()[i].expression;
}

bool ModelVars::SetVarExpression(const std::wstring& name, const std::wstring& value) {
    if (document_.Cont2D()->FindVariable(name) < 0)
        return false;
    // A later value for the same name replaces the earlier one, in the first one's place.
    for (auto& [n, v] : pending_)
        if (n == name) {
            v = value;
            return true;
        }
    pending_.emplace_back(name, value);
    return true;
}

bool ModelVars::OK(const std::wstring& undoName) {
    DVDocument& content = *document_.Cont2D();
    // Every real expression is checked before anything changes, so a bad one commits nothing.
    for (const auto& [name, value] : pending_) {
        const int i = content.FindVariable(name);
        if (i >= 0 && content.GetVariables()[i].type == VarType::Real &&
            !content.IsValidRealExpression(name, value))
            return false;
    }
    content.start_undo_block(undoName);
    for (const auto& [name, value] : pending_) {
        const int i = content.FindVariable(name);
        if (i < 0)
            continue;
        const Variable& v = content.GetVariables()[i];
        if (v.type == VarType::Text) {
            if (v.expression != QuoteText(UnquoteText(value)))
                content.create_text_var(name, i, value, 0, 0);
        } else if (v.expression != value) {
            content.create_real_var(name, i, value, 0);
        }
    }
    content.end_undo_block();
    pending_.clear();
    return true;
}

} // namespace Dravik
