#include "frame/OpenDocumentFiles.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/Settings.h"

#include <algorithm>
#include <cstdarg>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

// The PDM system's bits of the flags word handed to the 3D module.
constexpr unsigned kReadOnlyContext = 1;
constexpr unsigned kNomenclatureContext = 2;
// The state of a PDM object whose file is checked in, which an editing open takes out.
constexpr int kCheckedIn = 3;

using Contexts =
    std::unordered_map<SharedPathName, std::shared_ptr<DVPDMOpenningContext>, SharedPathNameHash>;

void logFailure(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(DVLogOptionalFailure, format, args);
    va_end(args);
}

bool isOpen(const SharedPathName& file) {
    return DocumentManager::Instance().FindDocument(file.asCString()) != nullptr;
}

// Each file opens through the annotate module; an edition without it opens through the
// document manager, whose documents they are either way.
CDvw32Doc* openOne(const SharedPathName& file, DocInitParams& options) {
    if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
        return annotate->OpenFile(file.asCString().c_str(), 0, -1, &options);
    std::wstring error;
    CDvw32Doc* document = DocumentManager::Instance().OpenDocumentFile(file.asCString(), options, &error);
    if (document == nullptr)
        logFailure(L"%ls", error.c_str());
    return document;
}

} // namespace

bool OpenDocumentFiles(const std::vector<SharedPathName>& files, DocInitParams& options,
                       std::vector<CDvw32Doc*>* documents) {
    DVPDMWorkMix& workMix = DVPDMWorkMix::Instance();
    std::vector<std::wstring> paths;
    paths.reserve(files.size());
    for (const SharedPathName& file : files)
        paths.push_back(file.asCString());

    unsigned flags = 0;
    std::vector<bool> opened;
    std::vector<std::shared_ptr<DVPDMFileObject>> known(files.size());
    Contexts contexts(8);
    contexts.max_load_factor(1.0f);
    bool collected = false;

    if (options.pdmContext || !workMix.IsEnabled()) {
        // The caller's context goes with every file; the files open already are asked up to the
        // first one that is.
        if (options.pdmContext) {
            if (options.pdmContext->CanHaveNomenclatureData())
                flags |= kNomenclatureContext;
            opened.assign(files.size(), false);
            for (size_t i = 0; i < files.size(); ++i)
                if (isOpen(files[i])) {
                    opened[i] = true;
                    break;
                }
        }
    } else {
        collected = true;
        workMix.ResetCacheFor(paths);
        known = workMix.FindFiles(paths);
        known.resize(files.size());
        contexts.reserve(std::max(
            files.size(),
            static_cast<size_t>(std::count_if(known.begin(), known.end(), [](const auto& f) { return f; }))));
        for (size_t i = 0; i < files.size(); ++i) {
            if (!known[i])
                continue;
            try {
                auto context = std::make_shared<DVPDMOpenningContext>(known[i]->GetOpenningContext());
                if (context->IsEmpty())
                    context->SetNomenclatureObject(workMix.GetNomenclatureObject(paths[i]));
                if (context->IsEmpty())
                    continue;
                if (context->IsReadOnly())
                    flags |= kReadOnlyContext;
                if (context->CanHaveNomenclatureData())
                    flags |= kNomenclatureContext;
                contexts[files[i]] = std::move(context);
            } catch (const DVPDMException& e) {
                e.Report();
            }
        }
        if (flags & kNomenclatureContext) {
            opened.reserve(files.size());
            for (const SharedPathName& file : files)
                opened.push_back(contexts.count(file) ? isOpen(file) : true);
        }
    }
    if (opened.size() == 1 && opened.front())
        opened.clear();

    const bool singleUnknown = files.size() == 1 && !known.front();
    if (!singleUnknown)
        if (CDVCom_Is3D* module3D = CDVCom_Is3D::Instance())
            if (!module3D->OpenFiles(options, paths, flags, opened.empty() ? nullptr : &opened))
                return false;

    const bool updateFlag = GetSettings().pdmUpdate == 1;
    for (const auto& file : known) {
        if (!file)
            continue;
        try {
            if (!options.pdmEdit)
                file->Update(updateFlag);
            else if (file->GetState() == kCheckedIn)
                file->Edit(1, 0, 1, 1);
        } catch (const DVPDMException& e) {
            e.Report();
        }
    }

    // The contexts gathered here go back with the call, also when an open throws.
    struct ContextsBack {
        DocInitParams& options;
        bool collected;
        ~ContextsBack() {
            if (collected)
                options.pdmContext.reset();
        }
    } back{options, collected};
    for (const SharedPathName& file : files) {
        if (collected) {
            options.pdmContext.reset();
            if (const auto found = contexts.find(file); found != contexts.end()) {
                try {
                    found->second->LoadRemainingData();
                } catch (const DVPDMException& e) {
                    e.Report();
                }
                options.pdmContext = found->second;
            }
        }
        CDvw32Doc* document = openOne(file, options);
        if (document != nullptr && documents != nullptr)
            documents->push_back(document);
    }
    return true;
}
