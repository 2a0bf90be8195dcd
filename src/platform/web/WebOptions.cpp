// WebOptions: the page address's parameters, checked strictly
//
// The page address's parameters, checked strictly so a mistyped test run fails loudly instead of comparing
// the wrong frames.
#include "platform/web/WebOptions.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "platform/web/WebKeys.h"

namespace platform {
namespace {

constexpr uint32_t kProgrammeEndMs = 185900;
constexpr int kMaxFps = 1000;
constexpr int kMaxSide = 4096;

bool ParseInt(std::string_view text, int64_t low, int64_t high, int64_t& out) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return false;
  out = value;
  return true;
}

bool ParseSize(std::string_view text, WebOptions& options) {
  const size_t x = text.find('x');
  int64_t width = 0, height = 0;
  if (x == std::string_view::npos || !ParseInt(text.substr(0, x), 1, kMaxSide, width) ||
      !ParseInt(text.substr(x + 1), 1, kMaxSide, height)) {
    return false;
  }
  options.width = static_cast<int>(width);
  options.height = static_cast<int>(height);
  return true;
}

bool ParseTimes(std::string_view text, std::vector<uint32_t>& times) {
  while (true) {
    const size_t comma = text.find(',');
    int64_t ms = 0;
    if (!ParseInt(text.substr(0, comma), 0, kProgrammeEndMs - 1, ms)) return false;
    if (!times.empty() && ms <= times.back()) return false;
    times.push_back(static_cast<uint32_t>(ms));
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

bool ParseKeys(std::string_view text, std::vector<ScriptedKey>& keys) {
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view entry = text.substr(0, comma);
    const size_t colon = entry.find(':');
    int64_t ms = 0;
    if (colon == std::string_view::npos || !ParseInt(entry.substr(0, colon), 0, kProgrammeEndMs, ms))
      return false;
    const std::string_view code = entry.substr(colon + 1);
    if (VirtualKeyFromDom(DomKeyForCode(code), code) == 0) return false;
    keys.push_back({static_cast<uint32_t>(ms), std::string(code)});
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  std::stable_sort(keys.begin(), keys.end(),
                   [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
  return true;
}

// One "name" or "name=value" pair; false with `error` set when it is refused.
bool ApplyPair(std::string_view name, std::string_view value, bool hasValue, ParsedWebOptions& parsed) {
  WebOptions& options = parsed.options;
  if (name == "test" || name == "timing") {
    if (hasValue || options.mode != WebMode::kPlay) {
      parsed.error = "\"test\" and \"timing\" take no value and exclude each other";
      return false;
    }
    options.mode = name == "test" ? WebMode::kTest : WebMode::kTiming;
    return true;
  }
  if (name == "end" && !hasValue) {
    options.toEnd = true;
    return true;
  }
  int64_t fps = 0;
  if (name == "fps" && ParseInt(value, 1, kMaxFps, fps)) {
    options.fps = static_cast<int>(fps);
    return true;
  }
  if (name == "size" && ParseSize(value, options)) return true;
  if (name == "times" && ParseTimes(value, options.times)) return true;
  if (name == "keys" && ParseKeys(value, options.keys)) return true;
  parsed.error = "bad parameter \"" + std::string(name) + (hasValue ? "=" + std::string(value) : "") + "\"";
  return false;
}

}  // namespace

ParsedWebOptions ParseWebOptions(std::string_view query) {
  ParsedWebOptions parsed;
  if (!query.empty() && query.front() == '?') query.remove_prefix(1);
  std::set<std::string_view> seen;
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    const size_t eq = pair.find('=');
    const std::string_view name = pair.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
    if (!seen.insert(name).second) {
      parsed.error = "parameter \"" + std::string(name) + "\" given twice";
      return parsed;
    }
    if (!ApplyPair(name, value, eq != std::string_view::npos, parsed)) return parsed;
  }
  const WebOptions& options = parsed.options;
  if (options.mode == WebMode::kTest && options.times.empty()) {
    parsed.error = "a test run needs \"times\"";
    return parsed;
  }
  if (options.mode != WebMode::kTest && (!options.times.empty() || !options.keys.empty() || options.toEnd)) {
    parsed.error = "\"times\", \"keys\" and \"end\" belong to a test run";
    return parsed;
  }
  parsed.ok = true;
  return parsed;
}

}  // namespace platform
