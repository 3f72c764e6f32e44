#include "DravikKernel/FeaTaskManager.h"

#include <memory>

namespace {

std::unique_ptr<FeaTaskManager>& manager() {
    static std::unique_ptr<FeaTaskManager> instance;
    return instance;
}

} // namespace

FeaTaskManager* FeaTaskManager::Instance() {
    return manager().get();
}

FeaTaskManager& FeaTaskManager::Create() {
    if (!manager())
        manager() = std::make_unique<FeaTaskManager>();
    return *manager();
}

void FeaTaskManager::Destroy() {
    manager().reset();
}

bool FeaTaskManager::HasTasks(const CDocument* document) const {
    const auto found = m_tasks.find(document);
    return document != nullptr && found != m_tasks.end() && found->second > 0;
}

void FeaTaskManager::AddTask(const CDocument* document) {
    if (document != nullptr)
        ++m_tasks[document];
}

void FeaTaskManager::RemoveTasks(const CDocument* document) {
    m_tasks.erase(document);
}
