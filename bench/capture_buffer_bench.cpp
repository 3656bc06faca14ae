// What exact-size growth costs: filling the whole buffer with 20-byte entries,
// next to one copy of the same 2,000,000 bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "capture_core.h"
#include "memory_registry.h"

namespace {

class SilentWindow : public varno::WindowPort {
public:
    void SetCaption(const std::string&) override {}
    void ShowMessageBox(const std::string&, const std::string&) override {}
    void SetSendToFileItem(const std::string&, bool) override {}
};

class NoFiles : public varno::FileSystem {
public:
    bool Exists(const std::string&) override { return false; }
    std::unique_ptr<varno::File> Open(const std::string&, varno::FileMode, varno::FileErrorCause*) override {
        return nullptr;
    }
};

void BM_FillBufferWith20ByteEntries(benchmark::State& state) {
    SilentWindow window;
    NoFiles files;
    varno::MemoryRegistry registry;
    const std::string text(18, 't');  // with the "\r\n" separator: 20 bytes an entry
    for (auto _ : state) {
        varno::CCaptureCore core(window, files, registry, std::string());
        core.m_strSeparator = "\r\n";
        core.m_nSepLen = 2;
        while (core.AppendEntry(text)) {
        }
        benchmark::DoNotOptimize(core.m_pBuffer);
    }
    state.SetBytesProcessed(state.iterations() * 2000000);
    state.counters["entries"] = 100000;
}
BENCHMARK(BM_FillBufferWith20ByteEntries)->Unit(benchmark::kMillisecond);

void BM_Copy2MB(benchmark::State& state) {
    std::vector<char> from(2000000, 'f');
    std::vector<char> to(2000001);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 2000000);
}
BENCHMARK(BM_Copy2MB)->Unit(benchmark::kMillisecond);

}  // namespace
