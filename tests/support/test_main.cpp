// Test entry: every test runs in a scratch folder of its own process, so files the engine writes (its log,
// screenshots, expanded bitmaps) never land in the source or build tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

// A new folder under the system's temporary folder; empty when none could be made. Made by the standard
// library alone, so that the same entry serves every system the tests run on.
std::filesystem::path makeScratchFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto folder = std::filesystem::temp_directory_path() / ("pel2d-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) return folder;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const std::filesystem::path scratch = makeScratchFolder();
    if (scratch.empty()) return 1;
    std::filesystem::current_path(scratch);
    const int result = RUN_ALL_TESTS();
    std::filesystem::current_path(scratch.parent_path());
    std::filesystem::remove_all(scratch);
    return result;
}
