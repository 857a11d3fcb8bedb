// Test entry: every test runs in a scratch folder of its own process, so files the engine writes (its log,
// screenshots, expanded bitmaps) never land in the source or build tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "pel2d-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    std::filesystem::current_path(pattern);
    const int result = RUN_ALL_TESTS();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(pattern);
    return result;
}
