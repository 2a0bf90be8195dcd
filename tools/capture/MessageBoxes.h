// MessageBoxes: how the capture tool shows and answers the demo's message boxes
//
// How the capture tool shows and answers the demo's message boxes: printed to standard error as "caption:
// text", answered OK, or Yes to a question (No on request).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace capture {

// The Win32 answer code (IDOK 1, IDYES 6, IDNO 7, ...) for a box with these Win32 flags.
int AnswerMessageBox(uint32_t flags, bool answerNo);

// "caption: text" and a line break.
std::string FormatMessageBox(std::string_view caption, std::string_view text);

}  // namespace capture
