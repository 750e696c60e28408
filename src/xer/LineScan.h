#pragma once

#include <cstddef>
#include <cstdint>

namespace zembrel::xer::scan {

// What a scan stops at, besides SUB bytes:
// - TableLines: a line that may be a table line, that is any line not starting with '%' and a
//   character other than 'T' (outside the tables a pass looks for);
// - TableEnds: a line tagged "%T" or "%E" (inside a table, whose "%R" lines it counts).
enum class Look : std::uint8_t { TableLines, TableEnds };

struct Rules {
    Look look = Look::TableLines;
    bool lfEnds = false;   // a lone LF ends a line (else only CR, with an optional LF after it)
    bool crLfOnly = false; // stop at a line that ends other than in CR LF (it is written anew)
};

struct Result {
    std::size_t skip = 0;      // bytes of whole lines from the start that need no look
    std::uint64_t records = 0; // "%R" lines among them (TableEnds)
};

// Finds how far, from the line starting at `from`, whole lines may be skipped: up to the first
// line the scan stops at, or the first line holding a SUB byte (or, with crLfOnly, ending other
// than in CR LF), and never into the last line that starts in [from, end - 1): the line after
// what is skipped always starts inside the block, so none of the skipped lines is the file's
// last one, and each has its line end and the byte after it in the block.
// Vectorised where the processor allows (SSE2, or AVX2 when present).
Result scanLines(const char* from, const char* end, Rules rules);

// Which byte masks are built: the plain C++ ones, or the fastest the processor has.
enum class Engine : std::uint8_t { Plain, Sse2, Avx2, Best };
Result scanLinesWith(Engine engine, const char* from, const char* end, Rules rules);
// The engines this build and processor have (Plain always).
bool engineAvailable(Engine engine);

// The scan looks at windows of this many bytes.
inline constexpr std::size_t kWindow = 64;

// One bit per byte of a window: which bytes are which characters.
struct ByteMasks {
    std::uint64_t pct = 0, cr = 0, lf = 0, sub = 0, t = 0, e = 0, r = 0;
};

ByteMasks byteMasksPlain(const char* at, std::size_t count);

// The scan with the vector engines (the plain scan where the processor has none).
Result scanSse2(const char* from, const char* end, Rules rules);
Result scanAvx2(const char* from, const char* end, Rules rules);

} // namespace zembrel::xer::scan
