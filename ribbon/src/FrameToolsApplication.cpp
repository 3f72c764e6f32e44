#include "ribbon/FrameToolsApplication.h"

namespace {
FrameToolsApplication* g_application = nullptr;
} // namespace

FrameToolsApplication::FrameToolsApplication() {
    g_application = this;
}

FrameToolsApplication::~FrameToolsApplication() {
    if (g_application == this)
        g_application = nullptr;
}

FrameToolsApplication* FrameToolsApplication::Instance() {
    return g_application;
}
