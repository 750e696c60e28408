// Compiled against the logic's view of the platform: its interfaces are there.
#include "platform/FileSystem.h"
#include "platform/Platform.h"
