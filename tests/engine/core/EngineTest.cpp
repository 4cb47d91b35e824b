#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/ClassFactory.h"
#include "engine/core/ClassRegistration.h"
#include "engine/core/Engine.h"
#include "engine/core/Object.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;

std::vector<int> gCalls;
int32_t First() { gCalls.push_back(1); return 0; }
int32_t Second() { gCalls.push_back(2); return 0; }
int32_t Failing() { gCalls.push_back(3); return 1; }
int32_t Fourth() { gCalls.push_back(4); return 0; }

struct Lists {
    EngineFunctionArray init{1, 2}, postInit{1, 2}, term{1, 2};
};

std::vector<std::string> Texts(const test::RecordingOutput& output) {
    std::vector<std::string> texts;
    for (const auto& line : output.lines) texts.push_back(line.text);
    return texts;
}

TEST(Engine, EmptyListsSucceedWithOnlyTheOpeningAndClosingLines) {
    LogCapture capture;
    EXPECT_EQ(RunEngineInitialization(nullptr, nullptr), 0);
    EXPECT_EQ(RunEngineTermination(nullptr), 0);
    EXPECT_EQ(Texts(*capture), (std::vector<std::string>{
                                   "Инициализация движка v.0.1.2:",
                                   "Инициализация движка завершилась удачно.",
                                   "Постинициализация движка:",
                                   "Постинициализация движка завершилась удачно.",
                                   "Завершение работы движка:",
                                   "Завершение работы движка завершилось удачно.",
                               }));
}

TEST(Engine, FirstFailingInitFunctionStopsInitialisation) {
    Lists lists;
    lists.init.Append(&First);
    lists.init.Append(&Failing);
    lists.init.Append(&Second);
    lists.postInit.Append(&Fourth);
    LogCapture capture;
    gCalls.clear();
    EXPECT_EQ(RunEngineInitialization(&lists.init, &lists.postInit), 1);
    EXPECT_EQ(gCalls, (std::vector<int>{1, 3}));
    EXPECT_EQ(capture->lines.back().level, kLogError);
    EXPECT_EQ(capture->lines.back().text, "Инициализация движка неудачно.");
    EXPECT_FALSE(capture->Contains("Постинициализация движка:"));
}

TEST(Engine, PostInitAndTerminationRunInRegistrationOrderAndStopAtFailure) {
    Lists lists;
    lists.init.Append(&First);
    lists.postInit.Append(&Second);
    lists.postInit.Append(&Failing);
    lists.postInit.Append(&Fourth);
    lists.term.Append(&First);
    lists.term.Append(&Second);
    lists.term.Append(&Failing);
    lists.term.Append(&Fourth);
    LogCapture capture;
    gCalls.clear();
    EXPECT_EQ(RunEngineInitialization(&lists.init, &lists.postInit), 1);
    EXPECT_EQ(capture->lines.back().text, "Постинициализация движка неудачна.");
    EXPECT_EQ(RunEngineTermination(&lists.term), 1);
    EXPECT_EQ(capture->lines.back().text, "Завершение работы движка неудачно.");
    // Termination is not reversed.
    EXPECT_EQ(gCalls, (std::vector<int>{1, 2, 3, 1, 2, 3}));
}

// A class registered from this file's static initialiser, and again by hand:
// the once-flag keeps a single registration.
class OnceRegistered : public Object {
    ZEL_DECLARE_RTTI
};
ZEL_DEFINE_RTTI(OnceRegistered, Object)
ZEL_REGISTER_CLASS(OnceRegistered)
[[maybe_unused]] static const bool gRegisteredAgain = ClassRegistrar<OnceRegistered, false>::Register();

int CountOccurrences(const EngineFunctionArray* functions, EngineFunction fn) {
    int count = 0;
    for (int32_t i = 0; functions != nullptr && i < functions->Count(); ++i) count += (*functions)[i] == fn;
    return count;
}

TEST(Engine, ClassFunctionsAreRegisteredOnce) {
    EXPECT_EQ(CountOccurrences(GetInitFunctions(), &ClassRegistrar<OnceRegistered, false>::Initialize), 1);
    EXPECT_EQ(CountOccurrences(GetTermFunctions(), &ClassRegistrar<OnceRegistered, false>::Terminate), 1);
    EXPECT_NE(FindCreateFunction(String("Zel.OnceRegistered")), nullptr);
}

TEST(Engine, DuplicateTypeNameFailsThatClassAndTheEngineStart) {
    // A second class under a name already in the table fails its
    // initialisation, so initialisation stops before post-initialisation.
    Lists lists;
    lists.init.Append(&ClassRegistrar<OnceRegistered, false>::Initialize);
    lists.postInit.Append(&Fourth);
    LogCapture capture;
    gCalls.clear();
    EXPECT_EQ(RunEngineInitialization(&lists.init, &lists.postInit), 1);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_TRUE(capture->Contains(kLogError, "Инициализация движка неудачно."));
}

TEST(Engine, TerminationRemovesFactoryEntriesAndInitialisationRestoresThem) {
    Lists lists;
    lists.init.Append(&ClassRegistrar<OnceRegistered, false>::Initialize);
    lists.term.Append(&ClassRegistrar<OnceRegistered, false>::Terminate);
    EXPECT_EQ(RunEngineTermination(&lists.term), 0);
    EXPECT_EQ(FindCreateFunction(String("Zel.OnceRegistered")), nullptr);
    EXPECT_EQ(RunEngineInitialization(&lists.init, nullptr), 0);
    EXPECT_NE(FindCreateFunction(String("Zel.OnceRegistered")), nullptr);
}

TEST(ClassFactory, SecondRegistrationKeepsTheFirstFunction) {
    auto create = [](Object**) -> int32_t { return 0; };
    auto other = [](Object**) -> int32_t { return 1; };
    String name("Zel.FactoryTestEntry");
    EXPECT_TRUE(RegisterClass(name, create));
    EXPECT_FALSE(RegisterClass(name, other));
    EXPECT_EQ(FindCreateFunction(name), static_cast<CreateFunction>(create));
    UnregisterClass(name);
    EXPECT_EQ(FindCreateFunction(name), nullptr);
}

TEST(ClassFactory, AbstractObjectCannotBeCreated) {
    LogCapture capture;
    CreateFunction create = FindCreateFunction(String("Zel.Object"));
    ASSERT_NE(create, nullptr);
    Object* object = nullptr;
    EXPECT_EQ(create(&object), 1);
    EXPECT_EQ(object, nullptr);
    EXPECT_TRUE(capture->Contains(kLogCritical, "Создание объекта абстрактного класса [Object]."));
}

}  // namespace
}  // namespace zel
