#include "platform/win32/Win32SoundPlayer.h"

// windows.h first: the other Windows headers need its types.
#include <windows.h>

#include <mmsystem.h>

namespace zembrel {

void Win32SoundPlayer::play(const std::string& path) {
    sndPlaySoundA(path.c_str(), SND_ASYNC);
}

} // namespace zembrel
