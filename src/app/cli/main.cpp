#include "app/cli/Cli.h"
#include "platform/NativeBackEnd.h"

#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

// The same bytes on every platform: no CR added before LF on Windows.
void binaryOutput() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}
} // namespace

int main(int argc, char** argv) {
    using namespace zembrel;
    std::ios::sync_with_stdio(false);
    binaryOutput();
    // An interrupted purge leaves no temporary file behind; a closed pipe or a file-size limit
    // fails a write instead of ending the program without a word.
    native::removeTemporariesOnInterrupt();
    native::failWritesInsteadOfSignals();
    native::NativeFileSystem files;
    const Console console{std::cout, std::cerr, isTerminal(stdin) ? &std::cin : nullptr,
                          isTerminal(stdout), isTerminal(stderr)};
    // Paths are used as given: the home folder plays no part here.
    return runCli({argv + 1, argv + argc}, console, files, native::pathRules({}));
}
