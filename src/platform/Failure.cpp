#include "platform/Failure.h"

namespace zembrel {

const char* failureDescription(int number) {
    switch (number) {
    case failure::InvalidCall: return "Invalid procedure call or argument";
    case failure::Overflow: return "Overflow";
    case failure::OutOfMemory: return "Out of memory";
    case failure::BadFileName: return "Bad file name or number";
    case failure::FileNotFound: return "File not found";
    case failure::BadFileMode: return "Bad file mode";
    case failure::DeviceIoError: return "Device I/O error";
    case failure::FileAlreadyExists: return "File already exists";
    case failure::DiskFull: return "Disk full";
    case failure::InputPastEnd: return "Input past end of file";
    case failure::TooManyFiles: return "Too many files";
    case failure::DeviceUnavailable: return "Device unavailable";
    case failure::PermissionDenied: return "Permission denied";
    case failure::RenameAcrossDrives: return "Can't rename with different drive";
    case failure::PathFileAccessError: return "Path/File access error";
    case failure::PathNotFound: return "Path not found";
    case failure::InvalidFileFormat: return "Invalid file format";
    default: return "Application-defined or object-defined error";
    }
}

Failure makeFailure(int number) {
    return Failure{number, failureDescription(number)};
}

std::string errorText(const Failure& f) {
    return "ERROR #" + std::to_string(f.number) + ", " + f.description;
}

} // namespace zembrel
