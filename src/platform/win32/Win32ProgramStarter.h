#pragma once

#include "platform/ProgramStarter.h"

namespace zembrel {

// Starts a program through CreateProcessA, which finds it from the line's first word, with its
// first window shown as asked; the program's handles are not kept.
class Win32ProgramStarter final : public ProgramStarter {
public:
    Status start(const std::string& commandLine, Show show) override;
};

} // namespace zembrel
