// Shared helpers of the core suites.
#include "test_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#ifdef VARNO_TEST_WIN32
#include "win32_file_system.h"
#else
#include "posix/posix_file_system.h"
#endif

namespace varno::test {

std::unique_ptr<FileSystem> MakePlatformFileSystem() {
#ifdef VARNO_TEST_WIN32
    return std::make_unique<Win32FileSystem>();
#else
    return std::make_unique<PosixFileSystem>();
#endif
}

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("varno-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Path(const std::string& name) const {
    return (std::filesystem::path(path_) / name).string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace varno::test
