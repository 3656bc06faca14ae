// What the core suites share: a window that records what the core shows, the
// real file layer of the platform, and a temporary folder with real files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "capture_core.h"
#include "memory_registry.h"

namespace varno::test {

struct Message {
    std::string text;
    std::string caption;
};

class RecordingWindow : public WindowPort {
public:
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void ShowMessageBox(const std::string& text, const std::string& caption) override {
        messages.push_back({text, caption});
    }
    void SetSendToFileItem(const std::string& label, bool grayed) override {
        sendToFileLabel = label;
        sendToFileGrayed = grayed;
    }
    std::string Caption() const { return captions.empty() ? std::string() : captions.back(); }

    std::vector<std::string> captions;
    std::vector<Message> messages;
    std::string sendToFileLabel;
    bool sendToFileGrayed = false;
};

// The platform's own file layer: POSIX natively, Win32 when cross-built.
std::unique_ptr<FileSystem> MakePlatformFileSystem();

// A folder of its own, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string Path(const std::string& name) const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A core with a recording window, the platform's files and an in-memory registry.
struct CoreFixture {
    explicit CoreFixture(std::optional<std::string> header = std::string("<HEADER>\n"))
        : files(MakePlatformFileSystem()), core(window, *files, registry, std::move(header)) {}
    RecordingWindow window;
    MemoryRegistry registry;
    std::unique_ptr<FileSystem> files;
    CCaptureCore core;
};

}  // namespace varno::test
