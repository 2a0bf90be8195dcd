// FrameStats: the review's figures for one frame, and shrinking a frame for the sheet.
#pragma once

#include "review/FrameImage.h"

namespace review {

// Mean and standard deviation (population) of the luma 0.299 R + 0.587 G + 0.114 B, 0-255,
// over every pixel; both 0 for an empty picture.
struct Luminance {
  double mean = 0;
  double sd = 0;
};
Luminance MeasureLuminance(const FrameImage& image);

// Box-filtered copy at width x height, each no larger than the picture's.
FrameImage Shrink(const FrameImage& image, int width, int height);

}  // namespace review
