#include "base/file_version.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(FileVersionText, IsEmptyForAProgramWithoutVersionResource) {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    ASSERT_EQ(0u, GetFileVersionInfoSizeA(path, &handle)) << "this program must not carry a version";
    EXPECT_EQ("", file_version_text());
}

}  // namespace
