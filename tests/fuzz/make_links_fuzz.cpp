// Feeds each input to MakeLinks and to the step-by-step oracle and aborts on
// any difference, so that libFuzzer keeps the input as a crash artifact.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "make_links.h"
#include "make_links_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string ours = varno::MakeLinks(text);
    const std::string expected = varno::oracle::MakeLinksOracle(text);
    if (ours != expected) {
        std::fprintf(stderr, "MakeLinks differs from the oracle on %zu bytes of input\n", size);
        std::fprintf(stderr, "input:    [%s]\nexpected: [%s]\ngot:      [%s]\n", text.c_str(), expected.c_str(),
                     ours.c_str());
        std::abort();
    }
    return 0;
}
