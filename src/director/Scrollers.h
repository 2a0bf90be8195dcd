// Scrollers: the credits (0 to 19 s) and farewell (158 to 185.9 s) scenes
#pragma once

#include <string>
#include <string_view>

#include "text/TextPrinter.h"

// A backdrop panel slides down into place, a headline sits in the lower-left corner, and a long text moves
// through a one-line box, one character every ten text frames. Each scroller keeps its own state in a
// ScrollerState the program-wide state object owns; it is never reset, not even by a restart of the window,
// so a finished scroller shows its end at once the next time.

struct ScrollerState {
  std::string text;           // filled from the scroller's literal at its first text frame
  unsigned int position = 0;  // index of the first character shown
  int frameCount = 0;         // text frames drawn so far
  bool finished = false;      // the end of the text is in view; the position stays
  std::string piece;          // the part handed to the printer this frame (kept to reuse its storage)
};

// The two scrollers' states, one member of the program-wide state object.
struct ScrollerStates {
  ScrollerState credits;
  ScrollerState farewell;
};

// The leading spaces let the text enter the box from the right, the trailing ones let it leave.
inline constexpr std::string_view kCreditsText =
    "               Code: Brumlys, Textures and Music: Vorlan, Coded, designed and loathed at Frostmoot 2002"
    "                       ";
inline constexpr std::string_view kFarewellText =
    "                  Orvik and Caldermar we bid you farewell. A shame that FM has gotten so "
    "game-oriented.. "
    "See ya..                           You may press escape now...."
    "                                                    ";
inline constexpr char kScrollerHeadline[] = "Z.R.M. - Frostmoot 2002";

inline constexpr int kScrollerTextStartMs = 5000;  // local time of the first text frame is above this
inline constexpr int kFarewellTimeOffsetMs = 102000;

// t: programme time in ms. backdropTexture: the GL texture name of the panel picture.
void CreditsScroller(int t, ScrollerState& state, TextPrinter& printer, unsigned int backdropTexture);
void FarewellScroller(int t, ScrollerState& state, TextPrinter& printer, unsigned int backdropTexture);
