#include <gtest/gtest.h>

#include "util/Guid.h"

TEST(GuidFormat, ThirdGroupIsLowerCase) {
    constexpr pfx::GUID id = pfx::MakeGuid("{842CE4E4-969A-48FD-B924-9A5DE68253BC}");
    EXPECT_EQ(util::FormatGuid(id), u"{842CE4E4-969A-48fd-B924-9A5DE68253BC}");
    EXPECT_EQ(util::FormatGuid(pfx::GUID{}), u"{00000000-0000-0000-0000-000000000000}");
}
