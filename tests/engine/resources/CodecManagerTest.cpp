// Codec registry: registration, LoadCodec through modules, the extension
// match and the registry's iteration order when several codecs accept a file.
#include <gtest/gtest.h>

#include <new>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/MemoryFile.h"
#include "engine/resources/ModuleManager.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;

Codec* MakeCodec(const char* name, std::initializer_list<const char*> extensions) {
    Codec* codec = new Codec(String(name));
    for (const char* extension : extensions) EXPECT_EQ(codec->AddExtension(String(extension)), kOk);
    return codec;
}

int32_t gCreated = 0;
int32_t CreateCountingCodec(Codec** codec) {
    ++gCreated;
    *codec = MakeCodec("CountingCodecTest", {"cnt"});
    return 0;
}
int32_t CreateNothing(Codec**) { return kOutOfMemory; }

TEST(CodecTest, AcceptsExactExtensionsOnly) {
    Pointer<Codec> codec = MakeCodec("AcceptTest", {"TGA", "tga", "Tga"});
    struct Case {
        const char* name;
        int32_t expected;
    };
    const Case cases[] = {
        {"mill.TGA", kOk}, {"mill.tga", kOk}, {"a.b.Tga", kOk}, {"mill.tGa", kFailed},
        {"mill.TGA.bak", kFailed}, {"TGA", kFailed}, {"mill.", kFailed},
    };
    for (const Case& c : cases) {
        MemoryFile file{String(c.name)};
        EXPECT_EQ(codec->AcceptsFile(&file), c.expected) << c.name;
    }
    LogCapture capture;
    EXPECT_EQ(codec->AcceptsFile(nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на файл равен 0 при проверке кодеком [AcceptTest]."));
}

TEST(CodecTest, AnEmptyExtensionMatchesAnEmptyEntry) {
    Pointer<Codec> codec = MakeCodec("EmptyExtensionTest", {""});
    for (const char* name : {"README", "README."}) {
        MemoryFile file{String(name)};
        EXPECT_EQ(codec->AcceptsFile(&file), kOk) << name;
    }
    EXPECT_EQ(CodecAs<SceneCodec>(codec), nullptr);  // a plain codec has no kind
}

TEST(CodecRegistryTest, NullAndDuplicatesAreRefused) {
    LogCapture capture;
    EXPECT_EQ(RegisterCodec(nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на кодек равен 0 при регистрации."));
    Pointer<Codec> first = MakeCodec("DuplicateCodecTest", {"dup"});
    Pointer<Codec> second = MakeCodec("DuplicateCodecTest", {"dup"});
    ASSERT_EQ(RegisterCodec(first), kOk);
    EXPECT_EQ(RegisterCodec(second), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Кодек с именем [DuplicateCodecTest] уже зарегестрирован."));
    EXPECT_EQ(FindCodec(String("DuplicateCodecTest")), first.Get());
    EXPECT_EQ(second->GetReferenceCount(), 1);
}

TEST(CodecRegistryTest, LoadCodecNeedsARegisteredModule) {
    LogCapture capture;
    EXPECT_EQ(LoadCodec(String("UnknownCodecTest"), nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogInfo, "Загружается кодек [UnknownCodecTest]."));
    EXPECT_TRUE(capture->Contains(kLogError, "Не найден модуль для кодека [UnknownCodecTest]."));
    EXPECT_EQ(FindModule(String("UnknownCodecTest")), nullptr);  // nothing was loaded
}

TEST(CodecRegistryTest, LoadCodecCreatesOnceAndTiesTheCodecToItsModule) {
    ASSERT_EQ(RegisterInternalCodecModule("CountingCodecTest", &CreateCountingCodec), kOk);
    gCreated = 0;
    Pointer<Codec> first;
    Pointer<Codec> second;
    ASSERT_EQ(LoadCodec(String("CountingCodecTest"), &first), kOk);
    ASSERT_EQ(LoadCodec(String("CountingCodecTest"), &second), kOk);
    EXPECT_EQ(gCreated, 1);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(first->GetModule(), FindModule(String("CountingCodecTest")));
}

TEST(CodecRegistryTest, ModulesWithoutAWorkingFactory) {
    Pointer<InternalModule> bare = new InternalModule(String("NoFactoryCodecTest"));
    ASSERT_EQ(RegisterModule(bare), kOk);
    ASSERT_EQ(RegisterInternalCodecModule("FailingFactoryCodecTest", &CreateNothing), kOk);
    LogCapture capture;
    EXPECT_EQ(LoadCodec(String("NoFactoryCodecTest"), nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogError, "В модуле не найдена функция создания кодека [NoFactoryCodecTest]."));
    EXPECT_EQ(LoadCodec(String("FailingFactoryCodecTest"), nullptr), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Создание кодека [FailingFactoryCodecTest] неудачно."));
    EXPECT_EQ(FindCodec(String("FailingFactoryCodecTest")), nullptr);
}

TEST(CodecRegistryTest, TheSceneCodecIsAnInternalModule) {
    Pointer<Codec> codec;
    ASSERT_EQ(LoadCodec(String("STRSceneCodec"), &codec), kOk);
    EXPECT_EQ(codec->GetKind(), Codec::kSceneKind);
    ASSERT_EQ(codec->GetExtensionCount(), 3);
    EXPECT_STREQ(codec->GetExtension(0).CStr(), "STR");
    EXPECT_STREQ(codec->GetExtension(1).CStr(), "str");
    EXPECT_STREQ(codec->GetExtension(2).CStr(), "Str");
    MemoryFile scene{String("Main.STR")};
    MemoryFile wrongCase{String("Main.sTr")};
    EXPECT_EQ(FindCodecForFile(&scene), codec.Get());
    EXPECT_EQ(FindCodecForFile(&wrongCase), nullptr);
}

// The first byte of a name takes no part in its hash, so "Qa" and "Ra" share
// a bucket (chain order: first registered first) and "Qb" lies in the next.
TEST(CodecRegistryTest, FilesGoToTheFirstCodecInBucketOrder) {
    Pointer<Codec> laterBucket = MakeCodec("Qb", {"orderext"});
    Pointer<Codec> chainHead = MakeCodec("Ra", {"orderext"});
    Pointer<Codec> chainTail = MakeCodec("Qa", {"orderext"});
    ASSERT_EQ(RegisterCodec(laterBucket), kOk);
    ASSERT_EQ(RegisterCodec(chainHead), kOk);
    ASSERT_EQ(RegisterCodec(chainTail), kOk);
    MemoryFile file{String("x.orderext")};
    EXPECT_EQ(FindCodecForFile(&file), chainHead.Get());
}

}  // namespace
}  // namespace zel
