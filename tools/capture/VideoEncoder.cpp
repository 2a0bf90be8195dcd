// VideoEncoder: the H.264 stream, the file, and keeping the sound in step with the pictures
#include "capture/VideoEncoder.h"

#include "capture/FrameConvert.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace capture {
namespace {

// superfast, measured on the whole programme: veryfast takes 1.75 times its CPU time;
// ultrafast takes a third to a half of it but needs 40 to 60 % more bits for the same luma
// PSNR in the tunnel and the particle cloud, which make most of the file. The README's
// Capture section has the figures.
AVDictionary* X264Options(int crf) {
  AVDictionary* options = nullptr;
  av_dict_set(&options, "preset", "superfast", 0);
  av_dict_set_int(&options, "crf", crf, 0);
  return options;
}

}  // namespace

VideoEncoder::~VideoEncoder() { Release(); }

bool VideoEncoder::Open(const VideoSettings& settings, std::string* error) {
  settings_ = settings;
  frames_ = 0;
  // libav's notes and statistics would break the progress line; its errors are reported.
  av_log_set_level(AV_LOG_ERROR);
  const AVOutputFormat* format = av_guess_format(nullptr, settings.path.c_str(), nullptr);
  if (format == nullptr) format = av_guess_format("mp4", nullptr, nullptr);
  const int result = avformat_alloc_output_context2(&file_, format, nullptr, settings.path.c_str());
  if (result < 0) {
    *error = AvError("cannot make " + settings.path, result);
    return false;
  }
  hasSound_ = !settings.musicPath.empty();
  if (!OpenVideoStream(error) ||
      (hasSound_ && !sound_.Open(settings.musicPath, settings.startUs, file_, error)) ||
      !WriteHeader(error) || !AllocatePicture(error)) {
    Release();
    return false;
  }
  return true;
}

bool VideoEncoder::AllocatePicture(std::string* error) {
  picture_.reset(av_frame_alloc());
  packet_.reset(av_packet_alloc());
  picture_->format = encoder_->pix_fmt;
  picture_->width = settings_.width;
  picture_->height = settings_.height;
  const int result = av_frame_get_buffer(picture_.get(), 0);
  if (result < 0) *error = AvError("no memory for a picture", result);
  return result >= 0;
}

bool VideoEncoder::OpenVideoStream(std::string* error) {
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  if (codec == nullptr) {
    *error = "this libavcodec has no x264 encoder (libx264)";
    return false;
  }
  encoder_.reset(avcodec_alloc_context3(codec));
  AVCodecContext* c = encoder_.get();
  c->width = settings_.width;
  c->height = settings_.height;
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  c->time_base = {1, settings_.fps};
  c->framerate = {settings_.fps, 1};
  // What ToI420 makes, declared so that players need not guess (for frames this size many
  // would guess BT.709); the rendering itself is sRGB, whose primaries are BT.709's.
  c->color_range = AVCOL_RANGE_MPEG;
  c->colorspace = AVCOL_SPC_SMPTE170M;
  c->color_primaries = AVCOL_PRI_BT709;
  c->color_trc = AVCOL_TRC_IEC61966_2_1;
  if (file_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVDictionary* options = X264Options(settings_.crf);
  int result = avcodec_open2(c, codec, &options);
  av_dict_free(&options);
  if (result < 0) {
    *error = AvError("cannot start the x264 encoder", result);
    return false;
  }
  stream_ = avformat_new_stream(file_, nullptr);
  if (stream_ == nullptr || avcodec_parameters_from_context(stream_->codecpar, c) < 0) {
    *error = "cannot add the pictures to the video";
    return false;
  }
  stream_->time_base = c->time_base;
  stream_->avg_frame_rate = c->framerate;
  return true;
}

bool VideoEncoder::WriteHeader(std::string* error) {
  int result = avio_open(&file_->pb, settings_.path.c_str(), AVIO_FLAG_WRITE);
  if (result < 0) {
    *error = AvError("cannot write " + settings_.path, result);
    return false;
  }
  // The index goes first (a second pass over the file at the end) so that a browser can
  // start playing before the whole file has arrived.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "movflags", "+faststart", 0);
  result = avformat_write_header(file_, &options);
  av_dict_free(&options);
  if (result < 0) {
    *error = AvError("cannot write " + settings_.path, result);
    return false;
  }
  return true;
}

bool VideoEncoder::SetCrf(int crf, std::string* error) {
  // The wrapper hands a changed "crf" to x264 before it takes the next frame, and x264
  // reconfigures its rate control from there on.
  const int result = av_opt_set_double(encoder_->priv_data, "crf", crf, 0);
  if (result < 0) *error = AvError("cannot set the quality", result);
  return result >= 0;
}

bool VideoEncoder::WriteFrame(const uint8_t* rgba, std::string* error) {
  AVFrame* p = picture_.get();
  // The encoder may still hold the last picture; then this gives a fresh buffer.
  int result = av_frame_make_writable(p);
  if (result < 0) {
    *error = AvError("no memory for a picture", result);
    return false;
  }
  ToI420(rgba, settings_.width, settings_.height,
         {p->data[0], p->data[1], p->data[2], p->linesize[0], p->linesize[1]});
  p->pts = frames_++;
  if (!SendFrame(p, error)) return false;
  return !hasSound_ || sound_.EncodeUntil(SamplesFor(frames_), error);
}

bool VideoEncoder::SendFrame(AVFrame* frame, std::string* error) {
  const int result = avcodec_send_frame(encoder_.get(), frame);
  if (result < 0) {
    *error = AvError("cannot encode a picture", result);
    return false;
  }
  return DrainEncoder(encoder_.get(), file_, stream_, packet_.get(), error);
}

bool VideoEncoder::Close(std::string* error) {
  if (!IsOpen()) return true;
  bool ok = SendFrame(nullptr, error) && (!hasSound_ || sound_.Finish(SamplesFor(frames_), error));
  if (ok) {
    const int result = av_write_trailer(file_);
    if (result < 0) {
      *error = AvError("cannot finish " + settings_.path, result);
      ok = false;
    }
  }
  Release();
  return ok;
}

int64_t VideoEncoder::SamplesFor(int64_t frames) const {
  return av_rescale(frames, sound_.Rate(), settings_.fps);
}

void VideoEncoder::Release() {
  if (file_ != nullptr) {
    if (file_->pb != nullptr) avio_closep(&file_->pb);
    avformat_free_context(file_);
    file_ = nullptr;
  }
  encoder_.reset();
  picture_.reset();
  packet_.reset();
  sound_ = SoundTrack();
  stream_ = nullptr;
}

}  // namespace capture
