// Mp3Decoder: libmpg123 behind a small pull interface.
#include "platform/Mp3Decoder.h"

#include <mpg123.h>

#include <cstring>

namespace platform {
namespace {

mpg123_handle* Handle(void* handle) { return static_cast<mpg123_handle*>(handle); }

bool LibraryReady() {
  // mpg123_init is a no-op on current libraries and idempotent on old ones.
  static const bool ready = mpg123_init() == MPG123_OK;
  return ready;
}

}  // namespace

Mp3Decoder::~Mp3Decoder() { Close(); }

bool Mp3Decoder::Configure(int rate) {
  if (!LibraryReady() || rate <= 0) return false;
  int error = MPG123_OK;
  mpg123_handle* handle = mpg123_new(nullptr, &error);
  if (handle == nullptr) return false;
  handle_ = handle;
  // Output is always 16-bit stereo at the mixer's rate; mono is doubled, other
  // rates are resampled by the library.
  mpg123_param(handle, MPG123_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0.0);
  mpg123_param(handle, MPG123_FORCE_RATE, rate, 0.0);
  mpg123_format_none(handle);
  if (mpg123_format(handle, rate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) {
    Close();
    return false;
  }
  return true;
}

bool Mp3Decoder::OpenFile(const std::string& path, int rate) {
  Close();
  if (path.empty() || !Configure(rate)) return false;
  if (mpg123_open(Handle(handle_), path.c_str()) != MPG123_OK) {
    Close();
    return false;
  }
  long actualRate = 0;
  int channels = 0, encoding = 0;
  // Reading the format makes the library find the first valid frame: a file with no
  // MPEG audio in it fails here rather than later on the audio thread.
  if (mpg123_getformat(Handle(handle_), &actualRate, &channels, &encoding) != MPG123_OK) {
    Close();
    return false;
  }
  return true;
}

bool Mp3Decoder::OpenMemory(const unsigned char* data, size_t size, int rate) {
  Close();
  if (data == nullptr || size == 0 || !Configure(rate)) return false;
  memory_.assign(data, data + size);
  fromMemory_ = true;
  if (mpg123_open_feed(Handle(handle_)) != MPG123_OK ||
      mpg123_feed(Handle(handle_), memory_.data(), memory_.size()) != MPG123_OK) {
    Close();
    return false;
  }
  long actualRate = 0;
  int channels = 0, encoding = 0;
  const int status = mpg123_getformat(Handle(handle_), &actualRate, &channels, &encoding);
  if (status != MPG123_OK) {
    Close();
    return false;
  }
  return true;
}

void Mp3Decoder::Close() {
  if (handle_ != nullptr) {
    mpg123_close(Handle(handle_));
    mpg123_delete(Handle(handle_));
    handle_ = nullptr;
  }
  memory_.clear();
  fromMemory_ = false;
  ended_ = false;
}

int Mp3Decoder::Read(int16_t* out, int frames) {
  if (handle_ == nullptr || ended_ || out == nullptr || frames <= 0) return 0;
  const size_t wanted = static_cast<size_t>(frames) * 2 * sizeof(int16_t);
  unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
  size_t total = 0;
  while (total < wanted) {
    size_t done = 0;
    const int status = mpg123_read(Handle(handle_), bytes + total, wanted - total, &done);
    total += done;
    if (status == MPG123_NEW_FORMAT) continue;  // the format is fixed; go on reading
    if (status != MPG123_OK) {
      // MPG123_DONE, MPG123_NEED_MORE (a fed buffer ran out) or an error: the end.
      ended_ = true;
      break;
    }
    if (done == 0) {
      ended_ = true;
      break;
    }
  }
  // Whole frames only; a torn half frame at the very end is dropped.
  return static_cast<int>(total / (2 * sizeof(int16_t)));
}

bool Mp3Decoder::Rewind() {
  if (handle_ == nullptr) return false;
  ended_ = false;
  if (fromMemory_) {
    // A fed stream cannot seek without an index; feed it again from the start.
    mpg123_close(Handle(handle_));
    return mpg123_open_feed(Handle(handle_)) == MPG123_OK &&
           mpg123_feed(Handle(handle_), memory_.data(), memory_.size()) == MPG123_OK;
  }
  return mpg123_seek(Handle(handle_), 0, SEEK_SET) >= 0;
}

}  // namespace platform
