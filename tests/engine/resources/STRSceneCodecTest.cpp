// The STR scene codec through LoadScene: a graph with shared objects and
// back-links survives a save to disk and a load; the version check; bad
// files fail cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectGraph.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/MemoryFile.h"
#include "engine/resources/STRSceneCodec.h"
#include "support/RecordingOutput.h"
#include "support/TestObjects.h"
#include "TempDirectory.h"
#include "TestArchiveCodec.h"

namespace zel::test {

// An object whose Save always fails, to fail a save deep in a graph.
class FailingSaveObject : public Object {
    ZEL_DECLARE_RTTI

public:
    [[nodiscard]] int32_t Save(Stream&) override { return 1; }
};
ZEL_REGISTER_CLASS(FailingSaveObject)
ZEL_DEFINE_RTTI(FailingSaveObject, Object)

namespace {

// Checks that two graphs have the same shape: same types, names, values and
// controllers, with sharing and cycles in the same places.
class GraphComparer {
public:
    void Expect(Object* original, Object* loaded) {
        if (original == nullptr || loaded == nullptr) {
            EXPECT_EQ(original == nullptr, loaded == nullptr);
            return;
        }
        auto seen = pairs_.find(original);
        if (seen != pairs_.end()) {
            EXPECT_EQ(seen->second, loaded) << "sharing differs at " << original->GetName().CStr();
            return;
        }
        pairs_[original] = loaded;
        EXPECT_NE(original, loaded);
        EXPECT_EQ(original->GetRtti(), loaded->GetRtti());
        EXPECT_EQ(original->GetName(), loaded->GetName());
        ASSERT_EQ(original->GetControllerCount(), loaded->GetControllerCount());
        for (int32_t i = 0; i < original->GetControllerCount(); ++i)
            Expect(original->GetController(i), loaded->GetController(i));
        auto* a = CastTo<TestObject>(original);
        auto* b = CastTo<TestObject>(loaded);
        if (a != nullptr && b != nullptr) {
            EXPECT_EQ(a->value, b->value);
            Expect(a->link, b->link);
        }
    }

private:
    std::map<Object*, Object*> pairs_;
};

TestObject* NamedTestObject(const char* name, int32_t value) {
    auto* object = new TestObject();
    object->SetName(String(name));
    object->value = value;
    return object;
}

class STRSceneTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LoadCodec(String("STRSceneCodec"), &codec), kOk); }
    File* NewFile(const char* name) {
        File* file = new File(String(name));
        folder.AttachFile(file);
        return file;
    }
    // A file holding a version triple and the link to one fresh object.
    File* VersionedFile(const char* name, int32_t major, int32_t minor, int32_t build) {
        File* file = NewFile(name);
        EXPECT_EQ(file->Open(File::kModeWrite), kOk);
        const int32_t version[3] = {major, minor, build};
        file->WriteIntTriple(version);
        Pointer<TestObject> object = NamedTestObject("versioned", 7);
        file->WriteLink(object);
        EXPECT_EQ(file->Close(), kOk);
        return file;
    }

    Pointer<Codec> codec;
    TempDirectory temp;
    Directory folder{String(temp.Text().c_str()), nullptr};
};

TEST_F(STRSceneTest, AGraphComesBackEqual) {
    // root -> a -> b -> root (a back-link); one controller shared by a and b.
    Pointer<TestObject> root = NamedTestObject("root", 1);
    TestObject* a = NamedTestObject("a", 2);
    TestObject* b = NamedTestObject("b", 3);
    root->link = a;
    a->link = b;
    b->link = root.Get();
    TestController* shared = new TestController();
    shared->SetName(String("shared"));
    a->AttachController(shared);
    b->AttachController(shared);
    b->AttachController(new TestController());

    File* file = NewFile("Scene.STR");
    ASSERT_EQ(CodecAs<SceneCodec>(codec)->Save(file, root), kOk);
    std::ifstream disk(temp / "Scene.STR", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(disk)), {});
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(bytes.substr(0, 12), std::string("\0\0\0\0\1\0\0\0\2\0\0\0", 12));

    Pointer<Object> loaded;
    ASSERT_EQ(LoadScene(file, &loaded), kOk);
    EXPECT_FALSE(file->IsOpen());
    GraphComparer().Expect(root, loaded);
    auto* loadedA = CastTo<TestObject>(CastTo<TestObject>(loaded)->link);
    auto* loadedB = CastTo<TestObject>(loadedA->link);
    EXPECT_EQ(loadedA->GetController(0), loadedB->GetController(1));
    EXPECT_EQ(loadedB->link.Get(), loaded.Get());
    BreakObjectLinks(root);
    BreakObjectLinks(loaded);
}

TEST_F(STRSceneTest, OlderVersionsAreRejectedAndNewerAccepted) {
    struct Case {
        int32_t major, minor, build;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 1, 1, kFailed},   {0, 1, 2, kOk},         {1, 0, 0, kOk},
        {-1, 100, 0, kFailed}, {-1, 101, 2, kOk},  // the weighted sum decides
        {INT32_MAX, INT32_MAX, INT32_MAX, kOk},  {INT32_MIN, 0, 0, kFailed},
    };
    for (const Case& c : cases) {
        File* file = VersionedFile("Versioned.STR", c.major, c.minor, c.build);
        Pointer<Object> loaded;
        EXPECT_EQ(LoadScene(file, &loaded), c.expected) << c.major << "." << c.minor << "." << c.build;
        EXPECT_EQ(loaded.Get() != nullptr, c.expected == kOk);
        EXPECT_FALSE(file->IsOpen());
        delete file;
    }
}

TEST_F(STRSceneTest, LoadSceneArgumentsAndCodecs) {
    LogCapture capture;
    Pointer<Object> loaded;
    MemoryFile scene{String("Main.STR")};
    EXPECT_EQ(LoadScene(nullptr, &loaded), kInvalidArgument);
    EXPECT_EQ(LoadScene(&scene, nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на файл или сцену равен 0."));

    MemoryFile unknown{String("Main.scene")};
    EXPECT_EQ(LoadScene(&unknown, &loaded), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Не найден кодек для файла [Main.scene]."));

    // A file codec cannot load scenes.
    static TestArchiveCodec* archives = [] {
        auto* created = new TestArchiveCodec("SceneTestArchiveCodec", "scnarch");
        RegisterCodec(created);
        return created;
    }();
    (void)archives;
    MemoryFile archive{String("Main.scnarch")};
    EXPECT_EQ(LoadScene(&archive, &loaded), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Неудачна загрузка сцены из файла [Main.scnarch]."));
}

TEST_F(STRSceneTest, DamagedFilesFail) {
    auto fromBytes = [](const std::string& bytes) {
        auto* file = new MemoryFile(String("Bad.STR"));
        auto* copy = new uint8_t[bytes.size()];
        std::memcpy(copy, bytes.data(), bytes.size());
        file->SetSourceData(copy, static_cast<uint32_t>(bytes.size()));
        return file;
    };
    const std::string header("\0\0\0\0\1\0\0\0\2\0\0\0", 12);
    const std::string cases[] = {
        "",
        std::string("\0\0\0\0\1\0\0\0", 8),                          // no build number
        header,                                                       // no root link
        header + std::string("\5\0\0\0\x10\0\0\0Zel.NoSuchClass", 23),  // unknown type
        header + std::string("\5\0\0\0\xff\xff\xff\x7f", 8),          // huge type name length
        header + std::string("\5\0\0\0\x0e\0\0\0Zel.TestObject\3\0\0\0ab", 28),  // cut short
    };
    for (const std::string& bytes : cases) {
        MemoryFile* file = fromBytes(bytes);
        Pointer<Object> loaded;
        EXPECT_EQ(LoadScene(file, &loaded), kFailed) << bytes.size();
        EXPECT_EQ(loaded.Get(), nullptr);
        EXPECT_FALSE(file->IsOpen());
        delete file;
    }
    MemoryFile noSource{String("NoSource.STR")};
    Pointer<Object> loaded;
    EXPECT_EQ(LoadScene(&noSource, &loaded), kFailed);
}

TEST_F(STRSceneTest, SaveFailures) {
    SceneCodec* scene = CodecAs<SceneCodec>(codec);
    Pointer<TestObject> root = NamedTestObject("root", 1);
    File* file = NewFile("Out.STR");
    EXPECT_EQ(scene->Save(nullptr, root), kFailed);
    EXPECT_EQ(scene->Save(file, nullptr), kFailed);
    EXPECT_EQ(scene->Load(nullptr, nullptr), kInvalidArgument);

    File* unwritable = NewFile("no-such-directory/Out.STR");
    EXPECT_EQ(scene->Save(unwritable, root), kFailed);

    // A failing object deep in the graph fails the whole save.
    root->link = new FailingSaveObject();
    EXPECT_EQ(scene->Save(file, root), kFailed);
    EXPECT_FALSE(file->IsOpen());
}

}  // namespace
}  // namespace zel::test
