// The kernel lets the person choose a command.
#include "app/ServerAppProxy.h"

std::optional<UINT> ServerAppProxy::SelectCommandId(CWnd*) {
    return std::nullopt;
}
