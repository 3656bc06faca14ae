// Link conversion on 2,000,000-byte texts: MakeLinks, the step-by-step oracle,
// and a floor, one pass that copies the text while upper-casing it and
// counting its "@", which any conversion has to match at least.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "make_links.h"
#include "make_links_oracle.h"

namespace {

constexpr std::size_t kSize = 2000000;

// English prose: the licence texts that Debian installs, read in name order.
std::string LicenceProse() {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it("/usr/share/common-licenses", error), end; !error && it != end;
         it.increment(error)) {
        // Symbolic links only name other licences a second time.
        if (fs::is_regular_file(it->symlink_status())) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::string prose;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        prose.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (prose.empty()) {
        prose = "Permission is granted to copy, distribute and modify this text under the terms "
                "of the licence, provided that the notice above is kept in every copy.\n";
    }
    return prose;
}

std::string RepeatTo(const std::string& unit, std::size_t size) {
    std::string text;
    text.reserve(size + unit.size());
    while (text.size() < size) text += unit;
    text.resize(size);
    return text;
}

// (a) Prose with 300 addresses, web and e-mail by turns, after a word
// every 6,600 bytes or so; some end a sentence or stand in parentheses.
const std::string& Prose() {
    static const std::string text = [] {
        const std::string prose = RepeatTo(LicenceProse(), kSize);
        std::string out;
        std::size_t from = 0;
        for (int i = 0; i < 300; ++i) {
            std::size_t cut = prose.find(' ', (i + 1) * (kSize / 301));
            if (cut == std::string::npos) break;
            out.append(prose, from, cut + 1 - from);
            char address[96];
            switch (i % 4) {
            case 0: std::snprintf(address, sizeof address, "http://www.example.org/docs/page%d.html ", i); break;
            case 1: std::snprintf(address, sizeof address, "mail.%d@example.com. ", i); break;
            case 2: std::snprintf(address, sizeof address, "(HTTP://mirror.example.net/%d/?q=%d) ", i, i); break;
            default: std::snprintf(address, sizeof address, "<list-%d@lists.example.org> ", i); break;
            }
            out += address;
            from = cut + 1;
        }
        out.append(prose, from, std::string::npos);
        out.resize(kSize);
        return out;
    }();
    return text;
}

// (b) An HTML list: each item holds a linked web address, a linked e-mail
// address, a bare web address and a bare e-mail address.
const std::string& Page() {
    static const std::string text = [] {
        std::string out;
        for (int i = 0; out.size() < kSize; ++i) {
            char item[400];
            std::snprintf(item, sizeof item,
                          "<li><a href=\"http://www.example.com/item/%d\">Item %d</a> by "
                          "<A HREF=\"mailto:ann%d@example.org\">ann%d@example.org</A>, see "
                          "http://mirror.example.net/%d/ or write to bob%d@example.net.</li>\n",
                          i, i, i, i, i, i);
            out += item;
        }
        out.resize(kSize);
        return out;
    }();
    return text;
}

// (c) Nothing but short web addresses.
const std::string& Dense() {
    static const std::string text = RepeatTo("http://x ", kSize);
    return text;
}

// (d) Prose without any address: no "@", and no colon to make a scheme.
const std::string& NoAddress() {
    static const std::string text = [] {
        std::string out = RepeatTo(LicenceProse(), kSize);
        std::replace(out.begin(), out.end(), '@', '#');
        std::replace(out.begin(), out.end(), ':', ';');
        return out;
    }();
    return text;
}

// A long-running program that has once handled a large text keeps freed
// memory for reuse; a fresh process hands the top of its heap back after
// every call and pays a page fault for each page touched again, which on this
// machine costs more than the conversion. Freeing one large block makes the
// allocator behave as it does later in the program's life, for every run.
void WarmAllocator() {
    static const bool warmed = [] {
        void* block = std::malloc(16 << 20);
        benchmark::DoNotOptimize(block);
        std::free(block);
        return true;
    }();
    benchmark::DoNotOptimize(warmed);
}

using Input = const std::string& (*)();

void BM_MakeLinks(benchmark::State& state, Input input) {
    WarmAllocator();
    const std::string& text = input();
    std::size_t outSize = 0;
    for (auto _ : state) {
        std::string out = varno::MakeLinks(text);
        outSize = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["out_bytes"] = static_cast<double>(outSize);
}

void BM_Oracle(benchmark::State& state, Input input) {
    WarmAllocator();
    const std::string& text = input();
    for (auto _ : state) {
        std::string out = varno::oracle::MakeLinksOracle(text);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Floor(benchmark::State& state, Input input) {
    WarmAllocator();
    const std::string& text = input();
    const std::size_t n = text.size();
    for (auto _ : state) {
        std::unique_ptr<char[]> out(new char[n]);
        std::size_t ats = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = text[i];
            out[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            ats += c == '@';
        }
        benchmark::DoNotOptimize(out.get());
        benchmark::DoNotOptimize(ats);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n));
}

#define VARNO_LINK_BENCH(func, name, input) \
    BENCHMARK_CAPTURE(func, name, input)->Unit(benchmark::kMillisecond)

VARNO_LINK_BENCH(BM_MakeLinks, a_prose, Prose);
VARNO_LINK_BENCH(BM_Oracle, a_prose, Prose);
VARNO_LINK_BENCH(BM_Floor, a_prose, Prose);
VARNO_LINK_BENCH(BM_MakeLinks, b_anchored_page, Page);
// Quadratic: one iteration is tens of seconds.
VARNO_LINK_BENCH(BM_Oracle, b_anchored_page, Page)->Iterations(1);
VARNO_LINK_BENCH(BM_Floor, b_anchored_page, Page);
VARNO_LINK_BENCH(BM_MakeLinks, c_dense, Dense);
// No oracle on (c): it takes minutes.
VARNO_LINK_BENCH(BM_Floor, c_dense, Dense);
VARNO_LINK_BENCH(BM_MakeLinks, d_no_address, NoAddress);
VARNO_LINK_BENCH(BM_Oracle, d_no_address, NoAddress);
VARNO_LINK_BENCH(BM_Floor, d_no_address, NoAddress);

}  // namespace
