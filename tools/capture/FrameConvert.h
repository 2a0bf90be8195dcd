// FrameConvert: a read-back frame turned into what the PNG writer and the video encoder take
//
// A read-back frame (BGRA bytes, bottom row first: what glReadPixels gives in the framebuffer's own byte
// order, its fast path) into what pictures and video take.
#pragma once

#include <cstdint>

namespace capture {

// width x height RGB pixels, top row first, for a picture file.
void ToRgb(const uint8_t* bgra, int width, int height, uint8_t* rgb);

// The frame centred in an out_width x out_height BGRA frame, still bottom row first: where
// it is smaller the rest is black, where larger it is cropped. A video keeps the size it
// started with when F1 re-creates the window at another size.
void CentreFrame(const uint8_t* bgra, int width, int height, int out_width, int out_height, uint8_t* out);

}  // namespace capture
