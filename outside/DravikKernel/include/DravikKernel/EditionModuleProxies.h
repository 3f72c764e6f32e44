// The kernel's faces of the edition modules that the shell asks about: the 3D module, whose
// kind tells the 3D editions apart, and the 2D edit module. Each module attaches itself when
// it initialises and detaches when it shuts down.
#pragma once

#include "DravikKernel/DravikServerAppProxy.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDVCom_Is3D {
public:
    enum Kind { SolidEdit = 1, Modelling = 2 };

    // The 3D module's instance, or null while no 3D module is attached.
    static CDVCom_Is3D* Instance();
    // The highest kind attached: 1 the solid-edit subset, 2 full modelling.
    int GetKind() const;

    // Several modules may attach with their kinds; each detaches its own.
    static void Attach(int kind);
    static void Detach(int kind);

private:
    CDVCom_Is3D() = default;
};

class EditModuleProxy : public ModuleProxy {
public:
    static EditModuleProxy& Instance();
    // Whether the 2D edit module is attached.
    bool IsLoaded() const override;

    static void Attach();
    static void Detach();

private:
    EditModuleProxy() = default;
};

DV_EXPORTS_END
