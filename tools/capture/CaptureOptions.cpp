// CaptureOptions: parsing and checking the command line
#include "capture/CaptureOptions.h"

#include <charconv>
#include <climits>
#include <string_view>

namespace capture {
namespace {

bool TakesValue(std::string_view name) {
  for (std::string_view known :
       {"--fps", "--size", "--from", "--to", "--png", "--video", "--crf", "--keys", "--answer"}) {
    if (name == known) return true;
  }
  return false;
}

bool ParseNumber(std::string_view text, int64_t low, int64_t high, int64_t* value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, *value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end && *value >= low && *value <= high;
}

bool ParseSize(std::string_view text, CaptureOptions* options) {
  const size_t x = text.find_first_of("xX");
  int64_t width = 0;
  int64_t height = 0;
  if (x == std::string_view::npos || !ParseNumber(text.substr(0, x), 1, 8192, &width) ||
      !ParseNumber(text.substr(x + 1), 1, 8192, &height)) {
    return false;
  }
  options->width = static_cast<int>(width);
  options->height = static_cast<int>(height);
  return true;
}

// Applies one option that takes a value; false with `error` set when the value is bad.
bool ApplyValue(std::string_view name, std::string_view value, CaptureOptions* options, std::string* error) {
  int64_t number = 0;
  if (name == "--fps") {
    if (!ParseNumber(value, 1, 1000, &number)) *error = "--fps wants a whole number from 1 to 1000";
    options->fps = static_cast<int>(number);
  } else if (name == "--size") {
    if (!ParseSize(value, options)) *error = "--size wants WxH, each from 1 to 8192 (for example 1024x768)";
  } else if (name == "--from" || name == "--to") {
    if (!ParseNumber(value, 0, INT32_MAX, &number))
      *error = std::string(name) + " wants a time in ms (0 or more)";
    (name == "--from" ? options->fromMs : options->toMs) = number;
  } else if (name == "--png" || name == "--video") {
    if (value.empty()) *error = std::string(name) + " wants a path";
    (name == "--png" ? options->pngDir : options->videoFile) = std::string(value);
  } else if (name == "--crf") {
    if (!ParseNumber(value, 0, kMaxCrf, &number))
      *error = "--crf wants a whole number from 0 to " + std::to_string(kMaxCrf);
    options->crf = static_cast<int>(number);
  } else if (name == "--keys") {
    ParseKeyList(value, &options->keys, error);
  } else if (name == "--answer") {
    if (value != "yes" && value != "no") *error = "--answer wants yes or no";
    options->answerNo = value == "no";
  }
  return error->empty();
}

bool CheckCombination(const CaptureOptions& options, std::string* error) {
  if (options.fromMs >= options.toMs) {
    *error = "--from must be less than --to";
  } else if (!options.videoFile.empty() && (options.width % 2 != 0 || options.height % 2 != 0)) {
    *error = "--video needs an even width and height (H.264 with 4:2:0 colour)";
  }
  return error->empty();
}

}  // namespace

ParsedOptions ParseCaptureOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  CaptureOptions& options = parsed.options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      parsed.ok = true;
      return parsed;
    }
    if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
      continue;
    }
    if (!arg.starts_with("--")) {
      parsed.error = "unexpected argument " + std::string(arg);
      return parsed;
    }
    const size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    if (!TakesValue(name)) {
      parsed.error = "unknown option " + std::string(name);
      return parsed;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      parsed.error = std::string(arg) + " wants a value";
      return parsed;
    }
    if (!ApplyValue(name, value, &options, &parsed.error)) return parsed;
  }
  parsed.ok = CheckCombination(options, &parsed.error);
  return parsed;
}

std::string CaptureUsage() {
  return R"(Usage: landscape-capture [options]
Renders the demo frame-exact without a screen, from the current folder (the run folder
holding data/ and textures/), to PNG pictures and/or an H.264 video with the music.

  --fps N         frames per programme second (default 60); frame k is drawn at
                  programme time floor(k * 1000 / N) ms, the first at 0
  --size WxH      window size at program start (default 1024x768)
  --from MS       first programme time written (default 0); earlier frames are
                  still drawn, since the animations advance per drawn frame
  --to MS         end of the written range, exclusive (default 185900, the end)
  --png DIR       write each frame as DIR/tNNNNNN.png (programme time in ms)
  --video FILE    write an MP4 video (H.264 and AAC) with the music from the same time
  --crf N         the video's quality, 0 to 51 (default )" +
         std::to_string(kDefaultCrf) + R"(): lower is better and larger,
                  each step about a tenth in size; 12 to archive, 28 to mail. Each
                  scene moves it by its own offset: finer for the wire torus, coarser
                  for the scenes that look the same with fewer bits
  --keys LIST     key presses MS:KEY[,MS:KEY...]; KEY is a Win32 virtual-key name
                  (P, F1, LEFT, ESCAPE, VK_SPACE, ...) or code (0x50, 80); a single
                  digit is that digit's key. The key goes down before the first frame
                  at or after MS and up before the frame after it
  --answer yes|no answer message-box questions Yes (default) or No; boxes are
                  printed to standard error as "caption: text"
  --quiet         no progress bar (there is none when standard error is no terminal)
  --help          this text

Times count from the first start-up: after an F1 restart the demo's programme starts
over, while frame times, names and the range go on.
The exit code is the demo's own; 2 for a bad command line, 1 when writing failed.
)";
}

}  // namespace capture
