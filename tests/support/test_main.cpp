// Test entry: every test process runs in a scratch folder of its own, made by the standard library alone so
// that it serves every system, and files the engine writes (its log, screenshots, expanded bitmaps) never
// land in the source or build tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::random_device random;
    std::filesystem::path scratch;
    std::error_code error;
    do {  // a name no other test process holds
        scratch = std::filesystem::temp_directory_path() / ("pel2d-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(scratch, error) && !error);
    if (error) return 1;
    std::filesystem::current_path(scratch);
    const int result = RUN_ALL_TESTS();
    std::filesystem::current_path(scratch.parent_path());
    std::filesystem::remove_all(scratch);
    return result;
}
