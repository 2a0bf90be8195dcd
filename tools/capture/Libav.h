// Libav: owning handles for the libav objects of the video path, and draining an encoder
//
// Draining (taking an encoder's packets into the file) is the step both streams repeat.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
}

#include <memory>
#include <string>

namespace capture {

struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct InputFree {
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct ResamplerFree {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct SampleFifoFree {
  void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using InputPtr = std::unique_ptr<AVFormatContext, InputFree>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFree>;
using SampleFifoPtr = std::unique_ptr<AVAudioFifo, SampleFifoFree>;

// "what: libav's reason" for a negative libav result.
std::string AvError(const std::string& what, int code);

// Moves every packet the encoder has ready into `stream` of the file (interleaved by
// time). False with `error` set when the encoder or the file failed.
bool DrainEncoder(AVCodecContext* encoder, AVFormatContext* file, AVStream* stream, AVPacket* packet,
                  std::string* error);

}  // namespace capture
