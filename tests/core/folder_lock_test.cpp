#include "core/folder_lock.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace vell {
namespace {

// One writer at a time: a second lock on the folder is refused naming the first holder, and the
// folder is free again once the holder lets go.
TEST(FolderLock, SecondWriterIsRefusedNamingTheHolderUntilItLetsGo) {
    test::TempDir dir;
    {
        const FolderLock first(dir.Path(), "vellcli selfplay");
        ASSERT_TRUE(first.Held()) << first.Refusal();
        const FolderLock second(dir.Path(), "vell");
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(second.Holder().rfind("vellcli selfplay (pid ", 0), 0u) << second.Holder();
        EXPECT_NE(second.Refusal().find(" is in use by vellcli selfplay (pid "), std::string::npos);
    }
    const FolderLock third(dir.Path(), "vell");
    EXPECT_TRUE(third.Held());
    EXPECT_FALSE(FolderLock(dir / "no-such-folder", "vell").Held());
}

}  // namespace
}  // namespace vell
