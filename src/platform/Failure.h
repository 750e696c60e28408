#pragma once

#include <string>
#include <utility>
#include <variant>

namespace zembrel {

// A failed file or platform operation: a number from the classic BASIC run-time table and its
// description, so that messages read the same whatever OS error lies beneath.
struct Failure {
    int number = 0;
    std::string description;
};

namespace failure {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int BadFileMode = 54;
inline constexpr int DeviceIoError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int TooManyFiles = 67;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int RenameAcrossDrives = 74;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidFileFormat = 321;
} // namespace failure

// The standard description of a failure number ("File not found" for 53 ...).
const char* failureDescription(int number);

// A failure with the standard description of its number.
Failure makeFailure(int number);

// "ERROR #" + number + ", " + description: the common head of every failure message.
std::string errorText(const Failure& f);

// Either a value or the failure that prevented it.
template <typename T> class [[nodiscard]] Outcome {
public:
    Outcome(T value) : m_state(std::move(value)) {}
    Outcome(Failure failure) : m_state(std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(m_state); }
    const T& value() const { return std::get<0>(m_state); }
    T& operator*() { return value(); }
    T* operator->() { return &value(); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const Failure& failure() const { return std::get<1>(m_state); }

private:
    std::variant<T, Failure> m_state;
};

// Success, or the failure of an operation that yields no value.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_failure.number == 0; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return m_failure; }

private:
    Failure m_failure;
};

} // namespace zembrel
