#include "DravikKernel/ApplicationCommand.h"

bool ApplicationCommand::IsEqualID(const IApplicationCommand& other) const {
    const auto* o = dynamic_cast<const ApplicationCommand*>(&other);
    return o && o->GetInternalID() == GetInternalID() && o->key_ == key_;
}

bool CDVAppCommand::IsEqualID(const IApplicationCommand& other) const {
    const auto* o = dynamic_cast<const CDVAppCommand*>(&other);
    return o && o->GetInternalID() == GetInternalID() && o->addOnName_ == addOnName_;
}
