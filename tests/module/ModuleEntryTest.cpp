#include <gtest/gtest.h>

#include "module/DllObject.h"
#include "module/Guids.h"
#include "module/ModuleDll.h"
#include "sim/driver.h"

TEST(ModuleEntry, SecondCreateReturnsSameObject) {
    sim::ResetAll();
    pfx::IDllObj* a = CreateDllObj(u"tavi");
    pfx::IDllObj* b = CreateDllObj(u"tavi");
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->Release(), 1);
    EXPECT_EQ(a->Release(), 0);
}
