#include <gtest/gtest.h>

#include "simulator/sim_config.h"

namespace {

TEST(SimConfigTest, DefaultsHaveTwoCameras) {
    sim::SimConfig config = sim::DefaultConfig();
    ASSERT_EQ(2u, config.cameras.size());
}

}  // namespace
