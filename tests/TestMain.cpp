// Entry of the unit test executable: the engine is started once around all
// tests, as the application does, so the class factory is filled.
#include <gtest/gtest.h>

#include "engine/core/Engine.h"

namespace {
class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(zel::EngineInitialize(), 0); }
    void TearDown() override { EXPECT_EQ(zel::EngineTerminate(), 0); }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment);
    return RUN_ALL_TESTS();
}
