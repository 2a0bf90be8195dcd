// SoundTrack: the music through libav's AAC encoder into the file
#include "capture/SoundTrack.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace capture {
namespace {

// The fast coder takes about a third of the default one's time; 192 kbit/s keeps it clean.
constexpr int64_t kBitRate = 192000;

}  // namespace

bool SoundTrack::Open(const std::string& musicPath, int64_t startUs, AVFormatContext* file,
                      std::string* error) {
  if (!music_.Open(musicPath, startUs, error)) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
  if (codec == nullptr) {
    *error = "this libavcodec has no AAC encoder";
    return false;
  }
  encoder_.reset(avcodec_alloc_context3(codec));
  AVCodecContext* c = encoder_.get();
  c->sample_fmt = AV_SAMPLE_FMT_FLTP;
  c->sample_rate = music_.Rate();
  av_channel_layout_default(&c->ch_layout, 2);
  c->bit_rate = kBitRate;
  c->time_base = {1, music_.Rate()};
  if (file->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  av_opt_set(c->priv_data, "aac_coder", "fast", 0);
  int result = avcodec_open2(c, codec, nullptr);
  if (result < 0) {
    *error = AvError("cannot start the AAC encoder", result);
    return false;
  }
  stream_ = avformat_new_stream(file, nullptr);
  if (stream_ == nullptr || (result = avcodec_parameters_from_context(stream_->codecpar, c)) < 0) {
    *error = "cannot add the sound to the video";
    return false;
  }
  stream_->time_base = c->time_base;
  file_ = file;
  frame_.reset(av_frame_alloc());
  packet_.reset(av_packet_alloc());
  return true;
}

bool SoundTrack::EncodeUntil(int64_t samples, std::string* error) {
  while (encoded_ + encoder_->frame_size <= samples) {
    if (!EncodeFrame(encoder_->frame_size, error)) return false;
  }
  return true;
}

bool SoundTrack::Finish(int64_t samples, std::string* error) {
  if (!EncodeUntil(samples, error)) return false;
  // The last frame may be short: the encoder takes one such frame at the end.
  if (samples > encoded_ && !EncodeFrame(static_cast<int>(samples - encoded_), error)) return false;
  const int result = avcodec_send_frame(encoder_.get(), nullptr);
  if (result < 0) {
    *error = AvError("cannot finish the sound", result);
    return false;
  }
  return DrainEncoder(encoder_.get(), file_, stream_, packet_.get(), error);
}

bool SoundTrack::EncodeFrame(int count, std::string* error) {
  AVFrame* f = frame_.get();
  av_frame_unref(f);
  f->format = AV_SAMPLE_FMT_FLTP;
  f->sample_rate = encoder_->sample_rate;
  av_channel_layout_copy(&f->ch_layout, &encoder_->ch_layout);
  f->nb_samples = count;
  int result = av_frame_get_buffer(f, 0);
  if (result < 0) {
    *error = AvError("no memory for the sound", result);
    return false;
  }
  music_.Read(count, reinterpret_cast<float*>(f->data[0]), reinterpret_cast<float*>(f->data[1]));
  f->pts = encoded_;
  encoded_ += count;
  if ((result = avcodec_send_frame(encoder_.get(), f)) < 0) {
    *error = AvError("cannot encode the sound", result);
    return false;
  }
  return DrainEncoder(encoder_.get(), file_, stream_, packet_.get(), error);
}

}  // namespace capture
