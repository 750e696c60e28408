#include "app/cli/Cli.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/TemporaryNames.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // An interrupted purge leaves no temporary file behind.
    zembrel::removeTemporariesOnInterrupt();
    zembrel::PosixFileSystem files;
    std::istream* terminal = ::isatty(STDIN_FILENO) ? &std::cin : nullptr;
    return zembrel::runCli({argv + 1, argv + argc}, std::cout, std::cerr, files,
                           zembrel::PathRules::posix({}), terminal);
}
