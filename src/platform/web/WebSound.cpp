// WebSound: the FSOUND-style sound layer of the browser build
//
// The browser decodes the MP3 (decodeAudioData) and Web Audio plays it; nothing is mixed here. Starting a
// stream also makes the audio output the page's clock (see page.js), so the programme follows what is heard.
#include <emscripten.h>

#include <algorithm>

#include "platform/Sound.h"

namespace platform {

struct SoundStream {
  int track = 0;     // the page's number for the decoded track
  int channel = -1;  // -1 while not playing
};

namespace {

EM_JS(int, PageHasAudio, (), { return LandscapePage.audioContext() ? 1 : 0; });
EM_ASYNC_JS(int, PageOpenTrack, (const char* path),
            { return await LandscapePage.openTrack(UTF8ToString(path)); });
EM_JS(void, PagePlayTrack, (int track), { LandscapePage.playTrack(track); });
EM_JS(void, PageStopTrack, (int track), { LandscapePage.stopTrack(track); });
EM_JS(void, PageCloseTrack, (int track), { LandscapePage.closeTrack(track); });
EM_JS(int, PageTrackPlaying, (int track), { return LandscapePage.trackPlaying(track) ? 1 : 0; });

}  // namespace

SoundSystem::SoundSystem(std::unique_ptr<AudioSink> sink, float version)
    : sink_(std::move(sink)), version_(version) {}

SoundSystem::~SoundSystem() { Close(); }

bool SoundSystem::SetDriver(int driver) { return driver == 0; }

bool SoundSystem::Init(int mixRate, int maxChannels, unsigned /*flags: the page decides about focus*/) {
  Close();
  if (mixRate <= 0 || maxChannels <= 0 || maxChannels > 1024 || !PageHasAudio()) return false;
  channels_.assign(static_cast<size_t>(maxChannels), nullptr);
  mixRate_ = mixRate;  // the browser resamples to its own output rate
  initialised_ = true;
  return true;
}

void SoundSystem::Close() {
  for (const auto& stream : streams_) PageCloseTrack(stream->track);
  channels_.clear();
  streams_.clear();
  initialised_ = false;
  mixRate_ = 0;
}

bool SoundSystem::Owns(SoundStream* stream) const {
  return stream != nullptr && std::any_of(streams_.begin(), streams_.end(),
                                          [stream](const auto& owned) { return owned.get() == stream; });
}

// Frees the stream's channel; the page's track is stopped by the caller.
void SoundSystem::StopLocked(SoundStream* stream) {
  if (stream->channel >= 0 && static_cast<size_t>(stream->channel) < channels_.size()) {
    channels_[static_cast<size_t>(stream->channel)] = nullptr;
  }
  stream->channel = -1;
}

SoundStream* SoundSystem::StreamOpenFile(const std::string& name, unsigned /*mode*/, int /*length*/) {
  // As natively: streams play once, to the end of the file.
  if (!initialised_ || name.empty()) return nullptr;
  const int track = PageOpenTrack(name.c_str());
  if (track == 0) return nullptr;
  streams_.push_back(std::make_unique<SoundStream>(SoundStream{track}));
  return streams_.back().get();
}

int SoundSystem::StreamPlay(int channel, SoundStream* stream) {
  if (!initialised_ || !Owns(stream)) return -1;
  // Channels whose track has played to its end are free again.
  for (SoundStream*& playing : channels_) {
    if (playing != nullptr && !PageTrackPlaying(playing->track)) StopLocked(playing);
  }
  if (stream->channel >= 0) channel = stream->channel;
  StopLocked(stream);
  if (channel == FSOUND_FREE) {
    const auto free = std::find(channels_.begin(), channels_.end(), nullptr);
    if (free == channels_.end()) return -1;
    channel = static_cast<int>(free - channels_.begin());
  }
  if (channel < 0 || static_cast<size_t>(channel) >= channels_.size()) return -1;
  if (SoundStream* previous = channels_[static_cast<size_t>(channel)]) {
    PageStopTrack(previous->track);
    StopLocked(previous);
  }
  PagePlayTrack(stream->track);
  channels_[static_cast<size_t>(channel)] = stream;
  stream->channel = channel;
  return channel;
}

bool SoundSystem::StreamStop(SoundStream* stream) {
  if (!Owns(stream)) return false;
  PageStopTrack(stream->track);
  StopLocked(stream);
  return true;
}

bool SoundSystem::StreamClose(SoundStream* stream) {
  if (!Owns(stream)) return false;
  PageCloseTrack(stream->track);
  StopLocked(stream);
  std::erase_if(streams_, [stream](const auto& owned) { return owned.get() == stream; });
  return true;
}

int SoundSystem::PlayingChannels() {
  return static_cast<int>(std::count_if(channels_.begin(), channels_.end(), [](SoundStream* stream) {
    return stream != nullptr && PageTrackPlaying(stream->track);
  }));
}

size_t SoundSystem::OpenStreams() { return streams_.size(); }

}  // namespace platform
