#pragma once

#include "core/Form.h"
#include "media/PlayerRows.h"

namespace zembrel {

// The video player selection window: the options "none" and the three player rows in Frame1,
// each row's text box under "Location", and "&Exit". The rows give the options' captions.
FormDescription frmVideoSetForm(const PlayerRows& players);

// The name of the text box of option 1, 2 or 3.
const char* textBoxOfRow(int option);

} // namespace zembrel
