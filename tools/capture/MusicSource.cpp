// MusicSource: demuxing, decoding and resampling the music with libav
#include "capture/MusicSource.h"

#include <algorithm>

namespace capture {

bool MusicSource::Open(const std::string& path, int64_t startUs, std::string* error) {
  if (!OpenDecoder(path, error) || !OpenResampler(path, error)) return false;
  queue_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, rate_));
  decoded_.reset(av_frame_alloc());
  packet_.reset(av_packet_alloc());
  // Counted in samples from the very start rather than sought: a seek in an MP3 lands
  // only near the time asked, and the sound must match the pictures' programme time.
  toSkip_ = av_rescale(startUs, rate_, 1000000);
  return true;
}

bool MusicSource::OpenDecoder(const std::string& path, std::string* error) {
  AVFormatContext* input = nullptr;
  int result = avformat_open_input(&input, path.c_str(), nullptr, nullptr);
  if (result < 0) {
    *error = AvError("cannot open " + path, result);
    return false;
  }
  input_.reset(input);
  const AVCodec* codec = nullptr;
  if ((result = avformat_find_stream_info(input, nullptr)) < 0 ||
      (result = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0)) < 0) {
    *error = AvError("no sound in " + path, result);
    return false;
  }
  stream_ = result;
  decoder_.reset(avcodec_alloc_context3(codec));
  if ((result = avcodec_parameters_to_context(decoder_.get(), input->streams[stream_]->codecpar)) < 0 ||
      (result = avcodec_open2(decoder_.get(), codec, nullptr)) < 0) {
    *error = AvError("cannot decode " + path, result);
    return false;
  }
  rate_ = decoder_->sample_rate;
  return true;
}

bool MusicSource::OpenResampler(const std::string& path, std::string* error) {
  AVChannelLayout inLayout;
  if (decoder_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
    av_channel_layout_default(&inLayout, decoder_->ch_layout.nb_channels);
  } else {
    av_channel_layout_copy(&inLayout, &decoder_->ch_layout);
  }
  AVChannelLayout stereo;
  av_channel_layout_default(&stereo, 2);
  SwrContext* resampler = nullptr;
  int result = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLTP, rate_, &inLayout,
                                   decoder_->sample_fmt, rate_, 0, nullptr);
  av_channel_layout_uninit(&inLayout);
  resampler_.reset(resampler);
  if (result < 0 || (result = swr_init(resampler)) < 0) {
    *error = AvError("cannot convert the sound of " + path, result);
    return false;
  }
  return true;
}

void MusicSource::Read(int count, float* left, float* right) {
  while (av_audio_fifo_size(queue_.get()) < count && DecodeMore()) {
  }
  void* planes[2] = {left, right};
  const int got = std::max(0, av_audio_fifo_read(queue_.get(), planes, count));
  std::fill(left + got, left + count, 0.0f);
  std::fill(right + got, right + count, 0.0f);
}

bool MusicSource::DecodeMore() {
  if (ended_) return false;
  while (true) {
    const int received = avcodec_receive_frame(decoder_.get(), decoded_.get());
    if (received == 0) {
      Queue(decoded_->extended_data, decoded_->nb_samples);
      av_frame_unref(decoded_.get());
      return true;
    }
    if (received != AVERROR(EAGAIN)) break;  // the end, or a fault: silence from here
    const int read = av_read_frame(input_.get(), packet_.get());
    if (read < 0) {
      avcodec_send_packet(decoder_.get(), nullptr);  // let the decoder give what it holds
      continue;
    }
    if (packet_->stream_index == stream_) {
      // A damaged packet is skipped, as players do; the next one decodes again.
      avcodec_send_packet(decoder_.get(), packet_.get());
    }
    av_packet_unref(packet_.get());
  }
  Queue(nullptr, 0);  // what the resampler still holds
  ended_ = true;
  return false;
}

void MusicSource::Queue(uint8_t** samples, int count) {
  const int room = swr_get_out_samples(resampler_.get(), count);
  if (room <= 0) return;
  left_.resize(static_cast<size_t>(room));
  right_.resize(static_cast<size_t>(room));
  uint8_t* out[2] = {reinterpret_cast<uint8_t*>(left_.data()), reinterpret_cast<uint8_t*>(right_.data())};
  int made = swr_convert(resampler_.get(), out, room, const_cast<const uint8_t**>(samples), count);
  const int skipped = static_cast<int>(std::min<int64_t>(toSkip_, std::max(made, 0)));
  toSkip_ -= skipped;
  made -= skipped;
  if (made <= 0) return;
  void* planes[2] = {left_.data() + skipped, right_.data() + skipped};
  av_audio_fifo_write(queue_.get(), planes, made);
}

}  // namespace capture
