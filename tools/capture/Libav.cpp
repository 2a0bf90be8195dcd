// Libav: error texts and moving encoded packets into the file
#include "capture/Libav.h"

namespace capture {

std::string AvError(const std::string& what, int code) {
  char reason[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, reason, sizeof reason);
  return what + ": " + reason;
}

bool DrainEncoder(AVCodecContext* encoder, AVFormatContext* file, AVStream* stream, AVPacket* packet,
                  std::string* error) {
  while (true) {
    int result = avcodec_receive_packet(encoder, packet);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) {
      *error = AvError("encoding failed", result);
      return false;
    }
    av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
    packet->stream_index = stream->index;
    result = av_interleaved_write_frame(file, packet);  // takes the packet's data, leaves it blank
    if (result < 0) {
      *error = AvError("cannot write the video", result);
      return false;
    }
  }
}

}  // namespace capture
