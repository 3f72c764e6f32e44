// Commands that add-ons contribute to the application: the interface the application's
// command table holds, and the two kinds of command, one per add-on manager.
#pragma once

#include "DravikKernel/UniqueIdentifier.h"
#include "pal/visibility.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

class IApplicationCommand {
public:
    virtual ~IApplicationCommand() = default;

    // 0 a command of the classic add-on manager, 1 one of the managed manager.
    virtual int GetType() const = 0;
    // The same add-on and the same internal number.
    virtual bool IsEqualID(const IApplicationCommand& other) const = 0;

    int GetID() const { return id_; }
    void SetID(int id) { id_ = id; }
    // The add-on's own number for the command.
    int GetInternalID() const { return internalId_; }
    bool IsInternal() const { return internal_; }

protected:
    IApplicationCommand(int internalId, bool internal) : internalId_(internalId), internal_(internal) {}

private:
    int id_ = 0;
    int internalId_;
    bool internal_;
};

// A command of an add-on of the managed manager, known by the add-on's identifier.
class ApplicationCommand : public IApplicationCommand {
public:
    ApplicationCommand(int internalId, const Dravik::UniqueIdentifier& key, bool internal)
        : IApplicationCommand(internalId, internal), key_(key) {}

    int GetType() const override { return 1; }
    bool IsEqualID(const IApplicationCommand& other) const override;
    const Dravik::UniqueIdentifier& GetKeyID() const { return key_; }

private:
    Dravik::UniqueIdentifier key_;
};

// A command of an add-on of the classic manager, known by the add-on's name.
class CDVAppCommand : public IApplicationCommand {
public:
    CDVAppCommand(std::wstring addOnName, int internalId, bool internal)
        : IApplicationCommand(internalId, internal), addOnName_(std::move(addOnName)) {}

    int GetType() const override { return 0; }
    bool IsEqualID(const IApplicationCommand& other) const override;
    const std::wstring& GetAddOnName() const { return addOnName_; }

private:
    std::wstring addOnName_;
};

DV_EXPORTS_END
