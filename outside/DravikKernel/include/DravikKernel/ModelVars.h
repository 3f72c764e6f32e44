// The variables of a document as the title-block editors edit them: values are read at once,
// changes are collected and reach the document only on OK, as one undoable step.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;

namespace Dravik {

class ModelVars {
public:
    explicit ModelVars(CDvw32Doc& document) : document_(document) {}

    // The expression of the named variable (a text variable's text in double quotes); empty
    // for an unknown name.
    std::wstring GetVarExpression(const std::wstring& name) const;
    // Records a new value for the next OK. For a text variable the value is the text: one
    // pair of enclosing quotes is removed, so what an editor read comes back unchanged.
    // False for an unknown name.
    bool SetVarExpression(const std::wstring& name, const std::wstring& value);
    // Commits the recorded values as one undoable step under the name; those that change
    // nothing are dropped. False when a recorded real expression does not evaluate: then
    // nothing is committed and the record is kept.
    bool OK(const std::wstring& undoName);
    void Cancel() { pending_.clear(); }
    std::size_t PendingCount() const { return pending_.size(); }

private:
    CDvw32Doc& document_;
    std::vector<std::pair<std::wstring, std::wstring>> pending_;
};

} // namespace Dravik

DV_EXPORTS_END
