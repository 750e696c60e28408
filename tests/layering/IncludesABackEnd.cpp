// Compiled against the logic's view of the platform: a back end is not there, so the logic
// cannot come to depend on one.
#include "platform/posix/PosixIo.h"
