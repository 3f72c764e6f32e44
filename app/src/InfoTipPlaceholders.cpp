// Until the info-tip strip lands there is no strip to forward its commands to.
#include "app/InfoTip.h"

CInfoTip* GetInfoTip() {
    return nullptr;
}
