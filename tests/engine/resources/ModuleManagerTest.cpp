// Module registry and modules: registration and lookup edge cases, entry
// points of internal modules, Shutdown at destruction and dynamic loading
// through the virtual file system.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/Directory.h"
#include "engine/resources/DynamicModule.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/ModuleManager.h"
#include "support/RecordingOutput.h"
#include "TempDirectory.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

namespace zel {
namespace {

using test::LogCapture;
using test::TempDirectory;

int32_t gShutdowns = 0;
int32_t CountShutdown() {
    ++gShutdowns;
    return 0;
}
int32_t FailShutdown() { return 1; }
int32_t Answer() { return 42; }

TEST(ModuleRegistryTest, NullAndDuplicatesAreRefused) {
    LogCapture capture;
    EXPECT_EQ(RegisterModule(nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на модуль равен 0 при регистрации."));

    Pointer<Module> first = new InternalModule(String("DuplicateModuleTest"));
    Pointer<Module> second = new InternalModule(String("DuplicateModuleTest"));
    ASSERT_EQ(RegisterModule(first), kOk);
    EXPECT_EQ(RegisterModule(second), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Модуль с именем [DuplicateModuleTest] уже зарегестрирован."));
    EXPECT_EQ(FindModule(String("DuplicateModuleTest")), first.Get());
    EXPECT_EQ(first->GetReferenceCount(), 2);  // the registry's and ours
    EXPECT_EQ(second->GetReferenceCount(), 1);  // a refusal takes nothing
    EXPECT_EQ(FindModule(String("duplicatemoduletest")), nullptr);
    EXPECT_EQ(FindModule(String()), nullptr);
}

TEST(ModuleRegistryTest, LoadModuleReturnsTheRegisteredOne) {
    Pointer<Module> module = new InternalModule(String("LoadedModuleTest"));
    ASSERT_EQ(RegisterModule(module), kOk);
    LogCapture capture;
    Pointer<Module> loaded;
    EXPECT_EQ(LoadModule(String("LoadedModuleTest"), &loaded), kOk);
    EXPECT_EQ(loaded.Get(), module.Get());
    EXPECT_EQ(LoadModule(String("LoadedModuleTest"), nullptr), kOk);
    EXPECT_FALSE(capture->Contains("Загружается модуль"));
}

TEST(ModuleRegistryTest, AModuleWithoutLibraryFileFailsToLoad) {
    LogCapture capture;
    Pointer<Module> loaded;
    EXPECT_EQ(LoadModule(String("NoSuchModuleTest"), &loaded), kInvalidArgument);
    EXPECT_EQ(loaded.Get(), nullptr);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Не найден файл модуля [NoSuchModuleTest.dll]."));
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить модуль [NoSuchModuleTest]."));
    int loading = 0;
    for (const auto& line : capture->lines) loading += line.text == "Загружается модуль [NoSuchModuleTest].";
    EXPECT_EQ(loading, 2);  // LoadModule's line and LoadDynamicModule's
    EXPECT_EQ(FindModule(String("NoSuchModuleTest")), nullptr);

    EXPECT_EQ(LoadDynamicModule(nullptr, String("x")), kInvalidArgument);
    EXPECT_EQ(UnloadDynamicModule(nullptr), kInvalidArgument);
    Pointer<Module> internal = new InternalModule(String("NoLibraryTest"));
    EXPECT_EQ(UnloadDynamicModule(internal), kOk);  // nothing loaded
}

TEST(InternalModuleTest, SymbolsAreFoundByExactName) {
    Pointer<InternalModule> module = new InternalModule(String("SymbolTest"));
    ASSERT_EQ(module->AddFunction(String("Answer"), &Answer), kOk);
    EXPECT_EQ(module->AddFunction(String("Answer"), &CountShutdown), kInvalidArgument);
    EXPECT_EQ(module->AddSymbol(String("Null"), nullptr), kInvalidArgument);

    int32_t (*answer)() = nullptr;
    ASSERT_EQ(module->FindSymbolAs(&answer, String("Answer")), kOk);
    EXPECT_EQ(answer(), 42);  // the first entry stayed

    LogCapture capture;
    EXPECT_EQ(module->FindSymbolAs(&answer, String("answer")), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно найти символ [answer] в модуле [SymbolTest]."));
    EXPECT_EQ(module->FindSymbol(nullptr, String("Answer")), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на символ [Answer] равен 0."));
}

TEST(InternalModuleTest, DestructionRunsShutdown) {
    gShutdowns = 0;
    {
        Pointer<InternalModule> module = new InternalModule(String("ShutdownTest"));
        EXPECT_EQ(module->AddFunction(String("Shutdown"), &CountShutdown), kOk);
    }
    EXPECT_EQ(gShutdowns, 1);

    LogCapture capture;
    { Pointer<InternalModule> module = new InternalModule(String("NoShutdownTest")); }
    EXPECT_TRUE(capture->Contains(kLogWarning,
                                  "В модуле не найдена функция завершения работы модуля [NoShutdownTest]."));
    {
        Pointer<InternalModule> module = new InternalModule(String("FailingShutdownTest"));
        EXPECT_EQ(module->AddFunction(String("Shutdown"), &FailShutdown), kOk);
    }
    EXPECT_TRUE(capture->Contains(kLogError, "Неудачно завершение работы модуля."));
}

TEST(InternalModuleTest, RegistrationEntersTheStandardEntryPoints) {
    ASSERT_EQ(RegisterInternalModule("EntryPointsTest", "CreateRenderer", reinterpret_cast<ModuleSymbol>(&Answer)),
              kOk);
    Module* module = FindModule(String("EntryPointsTest"));
    ASSERT_NE(module, nullptr);
    for (const char* name : {"Initialize", "Shutdown"}) {
        int32_t (*entry)() = nullptr;
        ASSERT_EQ(module->FindSymbolAs(&entry, String(name)), kOk) << name;
        EXPECT_EQ(entry(), 0) << name;
    }
    int32_t (*factory)() = nullptr;
    ASSERT_EQ(module->FindSymbolAs(&factory, String("CreateRenderer")), kOk);
    EXPECT_EQ(factory(), 42);
    // A second module of the same name is refused and destroyed.
    EXPECT_EQ(RegisterInternalModule("EntryPointsTest", "CreateRenderer", reinterpret_cast<ModuleSymbol>(&Answer)),
              kFailed);
    EXPECT_EQ(FindModule(String("EntryPointsTest")), module);
}

// --- Dynamic modules -----------------------------------------------------------

// Mounts a disk directory holding one file under the root for the test.
class DynamicModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = new Directory(String(temp.Text().c_str()), GetRootDirectory());
        ASSERT_EQ(folder->GetParent(), GetRootDirectory());
    }
    void TearDown() override { delete folder; }
    void AddFile(const char* name) { folder->AttachFile(new File(String(name))); }

    TempDirectory temp;
    Directory* folder = nullptr;
};

TEST_F(DynamicModuleTest, AFileThatIsNoLibraryFailsToLoad) {
    std::ofstream(temp / "NotALibraryTest.dll") << "not a library";
    AddFile("NotALibraryTest.dll");
    LogCapture capture;
    Pointer<Module> module;
    EXPECT_EQ(LoadDynamicModule(&module, String("NotALibraryTest")), kFailed);
    EXPECT_EQ(module.Get(), nullptr);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Загрузка модуля [NotALibraryTest] неудачна."));
}

// A real system library, reached through a file of the virtual file system
// whose full path names it on disk.
TEST_F(DynamicModuleTest, ASystemLibraryLoadsAndUnloads) {
#if defined(_WIN32)
    folder->SetName(String("C:/windows/system32"));
    const char* name = "kernel32";
    const char* symbol = "GetTickCount";
#else
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&std::printf), &info), 0);
    std::filesystem::create_symlink(info.dli_fname, temp / "LibcModuleTest.dll");
    const char* name = "LibcModuleTest";
    const char* symbol = "strlen";
#endif
    AddFile((std::string(name) + ".dll").c_str());
    LogCapture capture;
    Pointer<Module> module;
    ASSERT_EQ(LoadDynamicModule(&module, String(name)), kOk);
    ASSERT_NE(module->GetLibraryHandle(), nullptr);
    ModuleSymbol found = nullptr;
    EXPECT_EQ(module->FindSymbol(&found, String(symbol)), kOk);
    EXPECT_NE(found, nullptr);
    EXPECT_EQ(module->FindSymbol(&found, String("NoSuchSymbolAnywhere")), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Символ [NoSuchSymbolAnywhere] не найден в модуле ["));

    EXPECT_EQ(UnloadDynamicModule(module), kOk);
    EXPECT_EQ(module->GetLibraryHandle(), nullptr);
    EXPECT_EQ(module->FindSymbol(&found, String(symbol)), kInvalidArgument);
    capture.Clear();
    module = nullptr;  // no library left: only the Shutdown lookup complains
    EXPECT_TRUE(capture->Contains(kLogWarning, "В модуле не найдена функция завершения работы модуля ["));
    EXPECT_FALSE(capture->Contains("Выгружается модуль"));
}

}  // namespace
}  // namespace zel
