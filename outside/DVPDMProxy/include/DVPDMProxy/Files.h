// The PDM system's files as the shell's open and save roads see them: the object the work mix
// keeps for a file, the context a file is opened with, and the nomenclature object that ties a
// document to the product's structure. The work mix answers them only while it is enabled.
#pragma once

#include "pal/visibility.h"

#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

// A document's place in the product's nomenclature, kept by the PDM system under its id.
class DVPDMNomenclatureObject {
public:
    DVPDMNomenclatureObject(std::wstring id, std::wstring data)
        : id_(std::move(id)), data_(std::move(data)) {}
    const std::wstring& GetId() const { return id_; }
    // The nomenclature data as the PDM system holds it now.
    const std::wstring& GetData() const { return data_; }

private:
    std::wstring id_;
    std::wstring data_;
};

// What a file is opened with out of the PDM system. Empty when the system has nothing to add.
class DVPDMOpenningContext {
public:
    DVPDMOpenningContext() = default;
    DVPDMOpenningContext(std::wstring path, bool readOnly,
                         std::shared_ptr<DVPDMNomenclatureObject> nomenclature)
        : path_(std::move(path)), readOnly_(readOnly), nomenclature_(std::move(nomenclature)) {}

    bool IsEmpty() const { return nomenclature_ == nullptr; }
    bool IsReadOnly() const { return readOnly_; }
    // A document opened with the context may carry the data of its nomenclature object.
    bool CanHaveNomenclatureData() const { return nomenclature_ != nullptr; }
    void SetNomenclatureObject(std::shared_ptr<DVPDMNomenclatureObject> nomenclature) {
        nomenclature_ = std::move(nomenclature);
    }
    const std::shared_ptr<DVPDMNomenclatureObject>& GetNomenclatureObject() const { return nomenclature_; }
    // Fetches what the context left for later; throws DVPDMException when the system fails.
    void LoadRemainingData();
    // The nomenclature data fetched; empty before LoadRemainingData or without an object.
    const std::wstring& GetNomenclatureData() const { return data_; }

private:
    std::wstring path_;
    bool readOnly_ = false;
    std::shared_ptr<DVPDMNomenclatureObject> nomenclature_;
    std::wstring data_;
};

// The work mix's object of one file. Its operations throw DVPDMException when the system
// refuses them.
class DVPDMFileObject {
public:
    explicit DVPDMFileObject(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& GetPath() const { return path_; }
    // Brings the object up to date with the system before the file is read.
    void Refresh(bool flagA, bool flagB);
    DVPDMOpenningContext GetOpenningContext() const;
    // The object's state in the system (the meaning of the numbers is the system's).
    int GetState() const;
    // The update a multi-file open gives every known file.
    void Update(bool flag);
    // The editing operation (its four arguments are the system's).
    void Edit(int a, int b, int c, int d);
    // The file goes back to the system's version; throws DVPDMException when refused.
    void Revert();

private:
    std::wstring path_;
};

// The work mix's object of a repository folder: a library kept in the PDM system.
class DVPDMFolderObject {
public:
    explicit DVPDMFolderObject(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& GetPath() const { return path_; }
    // Brings the folder's files up to date with the system before they are listed; throws
    // DVPDMException when the system refuses.
    void Refresh(bool flagA, bool flagB);

private:
    std::wstring path_;
};

DV_EXPORTS_END
