// MessageBoxes: the answer table
#include "capture/MessageBoxes.h"

namespace capture {

int AnswerMessageBox(uint32_t flags, bool answerNo) {
  constexpr int kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdIgnore = 5, kIdYes = 6, kIdNo = 7,
                kIdContinue = 11;
  switch (flags & 0xF) {  // MB_TYPEMASK: the buttons
    case 1:               // MB_OKCANCEL
      return answerNo ? kIdCancel : kIdOk;
    case 2:  // MB_ABORTRETRYIGNORE: go on, or give up
      return answerNo ? kIdAbort : kIdIgnore;
    case 3:  // MB_YESNOCANCEL
    case 4:  // MB_YESNO
      return answerNo ? kIdNo : kIdYes;
    case 5:  // MB_RETRYCANCEL: nothing changes between tries without a user, so never retry
      return kIdCancel;
    case 6:  // MB_CANCELTRYCONTINUE
      return answerNo ? kIdCancel : kIdContinue;
    default:  // MB_OK and anything unknown
      return kIdOk;
  }
}

std::string FormatMessageBox(std::string_view caption, std::string_view text) {
  std::string line(caption);
  line += ": ";
  line += text;
  line += '\n';
  return line;
}

}  // namespace capture
