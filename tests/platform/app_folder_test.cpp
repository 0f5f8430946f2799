#include "platform/app_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "platform/log.h"
#include "support/executable_at.h"

namespace {

using platform::GetExecutablePath;
using testing_support::ExecutableAt;

class AppFolderTest : public ::testing::Test {
protected:
    static std::wstring RealPath() {
        return platform::Utf8ToWide(std::filesystem::read_symlink("/proc/self/exe").string());
    }
};

TEST_F(AppFolderTest, InstalledSystemReplacesTheRealPathWhileItLives) {
    std::wstring path;
    ASSERT_TRUE(GetExecutablePath(path, 4096));
    EXPECT_EQ(path, RealPath());
    {
        ExecutableAt exe(L"/opt/corvane/Corvane.exe");
        ASSERT_TRUE(GetExecutablePath(path, 4096));
        EXPECT_EQ(path, L"/opt/corvane/Corvane.exe");

        exe.Set(std::nullopt);  // a system that cannot tell
        path = L"stale";
        EXPECT_FALSE(GetExecutablePath(path, 4096));
        EXPECT_EQ(path, L"");
    }
    ASSERT_TRUE(GetExecutablePath(path, 4096));
    EXPECT_EQ(path, RealPath());
}

TEST_F(AppFolderTest, PathMustFitInTheBufferWithItsTerminator) {
    const std::wstring exe = L"/a/b/c.exe";  // 10 characters
    struct FitCase {
        size_t bufferChars;
        bool fits;
    };
    const FitCase cases[] = {{0, false}, {1, false}, {10, false}, {11, true}, {2048, true}};
    ExecutableAt at(exe);
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.bufferChars);
        std::wstring path = L"stale";
        EXPECT_EQ(GetExecutablePath(path, c.bufferChars), c.fits);
        EXPECT_EQ(path, c.fits ? exe : L"");
    }
}

TEST_F(AppFolderTest, RealPathTooLongForTheBufferFails) {
    const std::wstring real = RealPath();
    std::wstring path;
    EXPECT_FALSE(GetExecutablePath(path, real.size()));
    EXPECT_TRUE(GetExecutablePath(path, real.size() + 1));
}

TEST_F(AppFolderTest, PathMayChangeWhileOtherThreadsRead) {
    const std::wstring first = L"/first/Corvane.exe";
    const std::wstring second = L"/second/Corvane.exe";
    ExecutableAt exe(first);
    std::thread writer([&] {
        for (int i = 0; i < 500; ++i) exe.Set(i % 2 == 0 ? second : first);
    });
    int unexpected = 0;
    for (int i = 0; i < 500; ++i) {
        std::wstring path;
        if (!GetExecutablePath(path, 260) || (path != first && path != second)) ++unexpected;
    }
    writer.join();
    EXPECT_EQ(unexpected, 0);
}

}  // namespace
