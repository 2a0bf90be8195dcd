// VideoEncoder: spawning ffmpeg and streaming frames to it
#include "capture/VideoEncoder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace capture {

std::vector<std::string> FfmpegArguments(const VideoSettings& s) {
  char start[32];
  std::snprintf(start, sizeof start, "%lld.%06lld", static_cast<long long>(s.startUs / 1000000),
                static_cast<long long>(s.startUs % 1000000));
  const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
  // Raw frames on standard input, as read back.
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostats", "-y"};
  args.insert(args.end(),
              {"-f", "rawvideo", "-pix_fmt", "bgra", "-s", size, "-framerate", std::to_string(s.fps)});
  args.insert(args.end(), {"-i", "pipe:0"});
  if (!s.musicPath.empty()) {
    // The fast AAC coder takes about a third of the default coder's time; 192k keeps it clean.
    args.insert(args.end(), {"-ss", start, "-i", s.musicPath, "-map", "0:v:0", "-map", "1:a:0"});
    args.insert(args.end(),
                {"-c:a", "aac", "-aac_coder", "fast", "-b:a", "192k", "-af", "apad", "-shortest"});
  }
  // superfast: about a third of veryfast's encoding time at this quality, which matters when
  // the encoder shares two cores with the renderer; crf 18 keeps the pictures clean.
  args.insert(args.end(), {"-vf", "vflip", "-c:v", "libx264", "-preset", "superfast", "-crf", "18",
                           "-pix_fmt", "yuv420p"});
  args.insert(args.end(), {"-movflags", "+faststart", s.path});
  return args;
}

VideoEncoder::~VideoEncoder() {
  std::string ignored;
  if (IsOpen()) Close(&ignored);
}

bool VideoEncoder::Open(const VideoSettings& settings, std::string* error) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    *error = std::string("cannot make a pipe for ffmpeg: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);  // dup2 drops close-on-exec
  const std::vector<std::string> args = FfmpegArguments(settings);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  // A writer whose reader has gone gets EPIPE instead of being killed; ffmpeg itself starts
  // with the default action again.
  std::signal(SIGPIPE, SIG_IGN);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  const int spawned = posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[0]);
  if (spawned != 0) {
    close(fds[1]);
    pid_ = -1;
    *error = std::string("cannot start ffmpeg: ") + std::strerror(spawned);
    return false;
  }
  pipe_ = fds[1];
  // A pipe the size of a frame or so lets the writer hand over a frame in one go; the
  // default 64 KiB would cost dozens of switches to ffmpeg per frame. Best effort.
  fcntl(pipe_, F_SETPIPE_SZ, 1 << 20);
  frame_bytes_ = static_cast<size_t>(settings.width) * settings.height * 4;
  return true;
}

bool VideoEncoder::WriteFrame(const uint8_t* bgra, std::string* error) {
  size_t done = 0;
  while (done < frame_bytes_) {
    const ssize_t n = write(pipe_, bgra + done, frame_bytes_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = std::string("ffmpeg stopped taking frames: ") + std::strerror(errno);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool VideoEncoder::Close(std::string* error) {
  if (pipe_ >= 0) close(pipe_);
  pipe_ = -1;
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid_, &status, 0);
  } while (waited < 0 && errno == EINTR);
  pid_ = -1;
  if (waited < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    *error =
        "ffmpeg failed (exit status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
    return false;
  }
  return true;
}

}  // namespace capture
