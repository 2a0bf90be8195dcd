// Console panel art: the scrollers' backdrop, a light plate with a landscape vignette and title
#pragma once

#include "Picture.h"

namespace assetgen {

// 512 x 512 with alpha (transparent outside the rounded plate, and black there too, so the
// panel looks the same whether or not alpha is used), laid out inside the part the screen
// shows when the panel rests: its top fifth and left tenth are never seen. The scrolling text
// is dark, so the lower half of the plate, where the text box lies at every window size, stays
// light and calm.
bool MakeConsolePanel(Picture& panel);

}  // namespace assetgen
