#pragma once

#include <cstdint>
#include <string>

namespace zembrel {

enum class MessageIcon { None, Question, Information, Exclamation, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The application title: the title of every message box that names no other.
inline constexpr const char* kAppTitle = "Plovard";

// Modal message boxes. Yes is the default button of every Yes/No box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                               const std::string& title) = 0;
};

// Lets the window system process pending events; the logic calls it where it yields, often.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
    // Processes the pending events at once, however recently that was done: for the few places
    // that must let them run before they go on, where processEvents may skip a run.
    virtual void processEventsNow() { processEvents(); }
    // True once the user has asked to close the program while an operation yields: the
    // operation then stops at once, cleanly (no partial output left under a final name).
    virtual bool stopRequested() const { return false; }
    // How far the operation has come through the file it reads: done of total bytes. Told
    // once per block read, so it may show a progress display.
    virtual void reportProgress(std::uint64_t /*done*/, std::uint64_t /*total*/) {}
};

// The application-wide mouse pointer.
class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual void setBusy(bool busy) = 0;
};

} // namespace zembrel
