// makelinks: writes to standard output what Varno's HTML format makes of the
// text on standard input. Bytes in, bytes out: no newline conversion.
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "make_links.h"

int main() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::string text;
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) text.append(chunk, got);

    const std::string links = varno::MakeLinks(std::move(text));
    std::fwrite(links.data(), 1, links.size(), stdout);
    std::fflush(stdout);
    return 0;
}
