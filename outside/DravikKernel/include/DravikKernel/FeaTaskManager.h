// The analysis module's tasks by document. The analysis module makes the manager when it starts;
// the shell shows the analysis tab for a document that has tasks.
#pragma once

#include "pal/visibility.h"

#include <map>

DV_EXPORTS_BEGIN

class CDocument;

class FeaTaskManager {
public:
    // Null while the analysis module has not made it.
    static FeaTaskManager* Instance();
    static FeaTaskManager& Create();
    static void Destroy();

    bool HasTasks(const CDocument* document) const;
    void AddTask(const CDocument* document);
    // A document's tasks end (its analyses were removed or it closed).
    void RemoveTasks(const CDocument* document);

private:
    std::map<const CDocument*, int> m_tasks;
};

DV_EXPORTS_END
