// FrameConvert: a read-back frame turned into what the PNG writer and the video encoder take
//
// The frame is RGBA bytes, bottom row first, as glReadPixels gives them.
#pragma once

#include <cstdint>

namespace capture {

// width x height RGB pixels, top row first, for a picture file.
void ToRgb(const uint8_t* rgba, int width, int height, uint8_t* rgb);

// The planes of a YUV 4:2:0 picture, top row first; each chroma plane has half the width
// and half the height, rounded up.
struct I420Planes {
  uint8_t* y;
  uint8_t* u;
  uint8_t* v;
  int yStride;  // bytes from one row to the next
  int uvStride;
};

// The frame flipped upright and turned into YUV 4:2:0 in one pass over its pixels: BT.601
// colours in the limited range (luma 16..235), as ffmpeg converts RGB by default (so its
// PSNR filter compares like with like); each chroma sample is the mean of its 2 x 2 pixels,
// the last row or column repeated where the size is odd.
void ToI420(const uint8_t* rgba, int width, int height, const I420Planes& out);

// The frame centred in an outWidth x outHeight RGBA frame, still bottom row first: where
// it is smaller the rest is black, where larger it is cropped. A video keeps the size it
// started with when F1 re-creates the window at another size.
void CentreFrame(const uint8_t* rgba, int width, int height, int outWidth, int outHeight, uint8_t* out);

}  // namespace capture
