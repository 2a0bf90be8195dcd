// FrameConvert: a read-back frame (BGRA bytes, bottom row first, as glReadPixels gives it in
// the framebuffer's own byte order, its fast path) to the RGB rows, top row first, that
// pictures and video want.
// Depends on: nothing.
#pragma once

#include <cstdint>

namespace capture {

// Writes out_width x out_height RGB pixels to `rgb`. The frame is centred; where it is
// smaller the rest is black, where it is larger it is cropped (a video keeps the size it
// started with when F1 re-creates the window at another size).
void ConvertFrame(const uint8_t* bgra, int width, int height, int out_width, int out_height, uint8_t* rgb);

}  // namespace capture
