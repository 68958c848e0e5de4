// A test that starts and ends with the stand-in's world reset, so that
// nothing one test leaves behind is seen by another, in any order.
#pragma once

#include <gtest/gtest.h>

#include "sim/driver.h"

namespace support {

class FreshWorldTest : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetAll(); }
    void TearDown() override { sim::ResetAll(); }
};

}  // namespace support
