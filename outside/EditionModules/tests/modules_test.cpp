#include "DVDiagnostics/Module.h"
#include "DVDiagnostics/VersionNumber.h"
#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/ModuleProxies.h"

#include "pal/test/sandbox_test.h"
#include "pal/test/system_hooks.h"
#include "win/base.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Dravik::Module;
using Dravik::VersionNumber;

constexpr VersionNumber kProgramVersion(18, 0, 21, 0);

const std::vector<std::wstring> kEditionModules = {
    L"DV2DAnnotate.dll", L"DVTEXT.dll",   L"DV2DLT.dll",
    L"DV2DEdit.dll",     L"DVBOM.dll",    L"DravikScene.dll",
    L"DV3DSE.dll",       L"DV3DEdit.dll", L"DravikDocumentConverter.dll"};

std::string narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}

class EditionModules : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvtrace::test::clear();
    }
    void TearDown() override {
        Module::shutdownAll();
        pal::test::useVersionManifest({});
        ::unsetenv("DV_MODULE_INIT_FAIL");
        SandboxTest::TearDown();
    }

    // The start-up's rule: a module is loaded only when it carries the program's version.
    HMODULE loadChecked(const std::wstring& name) {
        if (VersionNumber::fromFile(name.c_str()) != kProgramVersion)
            return nullptr;
        return Module::loadMfcAndInitialize(name.c_str(), 0);
    }
};

TEST_F(EditionModules, EveryModuleCarriesTheProgramsVersionAndLoads) {
    EXPECT_EQ(VersionNumber::fromFile(L"DravikKernel.dll"), kProgramVersion);
    for (const auto& name : kEditionModules) {
        EXPECT_EQ(VersionNumber::fromFile(name.c_str()), kProgramVersion) << narrow(name);
        EXPECT_NE(loadChecked(name), nullptr) << narrow(name);
        EXPECT_EQ(dvtrace::test::callsOf(narrow(name)), (std::vector<std::string>{"load", "initialize"}));
    }
    dvtrace::test::clear();
    Module::shutdownAll();
    const auto calls = dvtrace::test::calls();
    ASSERT_EQ(calls.size(), 2 * kEditionModules.size());
    // The last loaded shuts down first.
    EXPECT_EQ(calls.front().library, "DravikDocumentConverter.dll");
    EXPECT_EQ(calls.front().call, "shutdown");
    EXPECT_EQ(calls[1].call, "unload");
    EXPECT_EQ(calls.back().library, "DV2DAnnotate.dll");
    EXPECT_EQ(calls.back().call, "unload");
}

TEST_F(EditionModules, AModuleOfAnotherVersionIsRefused) {
    const auto manifest = writeFile("manifest.txt", "# a rebuilt module\nDV3DSE.so 18.0.20.0\n");
    pal::test::useVersionManifest(manifest);
    EXPECT_EQ(VersionNumber::fromFile(L"DV3DSE.dll"), VersionNumber(18, 0, 20, 0));
    EXPECT_EQ(loadChecked(L"DV3DSE.dll"), nullptr);
    EXPECT_TRUE(dvtrace::test::callsOf("DV3DSE.dll").empty()) << "never loaded";
    // The other modules still read the build's manifest.
    EXPECT_NE(loadChecked(L"DV3DEdit.dll"), nullptr);
}

TEST_F(EditionModules, WhatCannotBeLoadedGivesNullAndTheReason) {
    EXPECT_EQ(Module::loadMfcAndInitialize(L"DVMissing.dll", 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_TRUE(VersionNumber::fromFile(L"DVMissing.dll").isZero());

    ::setenv("DV_MODULE_INIT_FAIL", "DVBOM.dll", 1);
    EXPECT_EQ(Module::loadMfcAndInitialize(L"DVBOM.dll", 0), nullptr);
    EXPECT_EQ(GetLastError(), 1114u); // ERROR_DLL_INIT_FAILED
    EXPECT_EQ(dvtrace::test::callsOf("DVBOM.dll"),
              (std::vector<std::string>{"load", "initialize refused", "unload"}));
    EXPECT_NE(Module::loadMfcAndInitialize(L"DVTEXT.dll", 0), nullptr) << "the others are not affected";
}

TEST_F(EditionModules, OneModuleIsShutDownAndUnloadedOnce) {
    HMODULE module = Module::loadMfcAndInitialize(L"DV2DLT.dll", 0);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(Module::shutdownAndUnloadMfc(module));
    EXPECT_FALSE(Module::shutdownAndUnloadMfc(module));
    EXPECT_FALSE(Module::shutdownAndUnloadMfc(nullptr));
    EXPECT_EQ(dvtrace::test::callsOf("DV2DLT.dll"),
              (std::vector<std::string>{"load", "initialize", "shutdown", "unload"}));
    Module::shutdownAll();
    EXPECT_EQ(dvtrace::test::callsOf("DV2DLT.dll").size(), 4u) << "not shut down twice";
}

TEST_F(EditionModules, TheModulesAttachToTheKernelWhileLoaded) {
    struct Case {
        std::vector<std::wstring> modules;
        int kind3D; // 0: no 3D module instance
        bool edit;
        bool annotate;
        bool lt;
    };
    const Case cases[] = {
        {{L"DV2DAnnotate.dll", L"DV2DEdit.dll"}, 0, true, true, false},
        {{L"DV2DEdit.dll", L"DV3DSE.dll"}, 1, true, false, false},
        {{L"DV3DSE.dll", L"DV3DEdit.dll"}, 2, false, false, false},
        {{L"DV2DLT.dll", L"DV2DAnnotate.dll"}, 0, false, true, true},
        {{L"DVBOM.dll"}, 0, false, false, false},
    };
    for (const auto& c : cases) {
        for (const auto& name : c.modules)
            ASSERT_NE(loadChecked(name), nullptr) << narrow(name);
        CDVCom_Is3D* instance = CDVCom_Is3D::Instance();
        EXPECT_EQ(instance ? instance->GetKind() : 0, c.kind3D) << narrow(c.modules.back());
        EXPECT_EQ(EditModuleProxy::Instance().IsLoaded(), c.edit) << narrow(c.modules.back());
        EXPECT_EQ(AnnotateModuleProxy::Instance() != nullptr, c.annotate) << narrow(c.modules.back());
        EXPECT_EQ(LTModuleProxy::Instance() != nullptr, c.lt) << narrow(c.modules.back());
        Module::shutdownAll();
        EXPECT_EQ(CDVCom_Is3D::Instance(), nullptr);
        EXPECT_FALSE(EditModuleProxy::Instance().IsLoaded());
        EXPECT_EQ(AnnotateModuleProxy::Instance(), nullptr);
        EXPECT_EQ(LTModuleProxy::Instance(), nullptr);
    }
}

} // namespace
