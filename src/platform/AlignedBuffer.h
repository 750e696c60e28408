#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace zembrel {

// A block of bytes that starts at a page boundary and spans whole pages. The kernel copies file
// data into and out of such memory several times faster than into memory a few bytes off.
class AlignedBuffer {
public:
    static constexpr std::size_t kPage = 4096;

    explicit AlignedBuffer(std::size_t size)
        : m_size(size), m_data(static_cast<char*>(::operator new[](roundUp(size), kAlign))) {}

    char* data() { return m_data.get(); }
    const char* data() const { return m_data.get(); }
    std::size_t size() const { return m_size; }

    static constexpr std::size_t roundUp(std::size_t size) {
        return size == 0 ? kPage : (size + kPage - 1) / kPage * kPage;
    }

private:
    static constexpr std::align_val_t kAlign{kPage};
    struct Free {
        void operator()(char* p) const { ::operator delete[](p, kAlign); }
    };
    std::size_t m_size;
    std::unique_ptr<char, Free> m_data;
};

} // namespace zembrel
