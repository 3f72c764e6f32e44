// The PDM work mix: the one place that says whether the PDM system can be used. Every PDM
// command's run and update functions ask it.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

// A failure of the PDM system, which knows how to tell the person about itself.
class DVPDMException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // Writes the failure to the log at the warning level.
    void Report() const;
};

// The PDM system's object behind a connection; callers keep it alive while they use it.
class DVPDMObject {
public:
    // The work-mix page's operation; throws DVPDMException when the system cannot run it.
    void RunWorkMix();
};

class DVPDMFileObject;
class DVPDMFolderObject;
class DVPDMNomenclatureObject;

// The PDM system's side of its integration with the program, as the shell asks it.
class DVPDMProxy {
public:
    // The settings profile the integration parameters name, in `profile`. `remembered` holds what
    // the program kept from the last time it applied one (the system may update it). 0 when a
    // profile is to be applied; any other code when none is, or the system cannot answer.
    long GetIntegrationProfile(std::wstring& remembered, std::wstring& profile);
};

class DVPDMWorkMix {
public:
    static DVPDMWorkMix& Instance();

    // False while no PDM system is connected, which in this build is always.
    bool IsEnabled() const;
    bool IsConnected() const { return IsEnabled(); }
    // Connects when a connection can be made (CanConnect), which without a PDM system is never:
    // false, and nothing changes. A connection made or ended is told to the listener.
    bool Connect(int mode, const wchar_t* connection);
    void Disconnect();
    // Who hears that the connection was made (true) or ended (false); one at a time, none to stop.
    void SetConnectionListener(std::function<void(bool connected)> listener);
    // The system's proxy while connected, held by the caller for the call; null otherwise.
    std::shared_ptr<DVPDMProxy> GetProxy() const;
    // The object of the connection; null while not connected.
    std::shared_ptr<DVPDMObject> GetPDMObject() const;
    // Whether a connection could be made now; never without a PDM system.
    bool CanConnect() const;
    // The name the connection reports for itself; empty while there is none.
    std::wstring OrsaInfo() const;

    // What the work mix remembers of files is forgotten, so the next look-up asks the system.
    void ResetCacheFor(const std::wstring& path);
    void ResetCacheFor(const std::vector<std::wstring>& paths);
    // The system's object of a file (compared without case); null when the file is not the
    // system's or the work mix is not enabled. FindFiles answers one entry per path, in order.
    std::shared_ptr<DVPDMFileObject> FindFile(const std::wstring& path) const;
    std::vector<std::shared_ptr<DVPDMFileObject>> FindFiles(const std::vector<std::wstring>& paths) const;
    // The repository folder of a path (compared without case); null when the folder is not the
    // system's or the work mix is not enabled.
    std::shared_ptr<DVPDMFolderObject> FindFolder(const std::wstring& path) const;
    // The nomenclature provider's object for a file; null when it has none.
    std::shared_ptr<DVPDMNomenclatureObject> GetNomenclatureObject(const std::wstring& path) const;
    // The session object's store of one version of a document's assembly: the document's path,
    // the version's name, whether the PDM dialog is shown, and the nomenclature object the
    // versions share. Throws DVPDMException when the system refuses it.
    void StoreAssemblyVersion(const std::wstring& path, const std::wstring& version, bool showDialog,
                              const DVPDMNomenclatureObject* nomenclature);
    // The work mix's operation on an open document's file and its object (the document saved
    // first); throws DVPDMException when the system refuses it.
    void ProcessDocument(const std::wstring& path, const DVPDMFileObject& file);
    // The nomenclature data and assembly tree of a nomenclature object as the system has them
    // now. Throws DVPDMException when the system cannot answer.
    std::wstring ReadNomenclatureData(const DVPDMNomenclatureObject& nomenclature) const;

private:
    DVPDMWorkMix() = default;
};

// The PDM system's programming interface as the shell sees it: whether PDM programs are
// installed on this computer.
class DVPdmApiProxy {
public:
    static DVPdmApiProxy& Instance();
    bool HasInstalledPrograms() const;

private:
    DVPdmApiProxy() = default;
};

DV_EXPORTS_END
