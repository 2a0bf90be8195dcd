// Startup: everything the demo builds between its GL context and its first frame
#pragma once

#include "director/Demo.h"

// Everything the demo builds between the moment its GL context becomes current and the first frame, in a
// fixed order. Window creation runs it as its last step, so an F1 restart runs it again in full in the new
// context.

// The data files start-up reads, relative to the working directory.
inline constexpr const char* kMusicFile = "data/demosong.mp3";
inline constexpr const char* kFontFile = "data/font/Font.tga";
inline constexpr const char* kBackdropFile = "data/textures/console.png";
inline constexpr const char* kTunnelImage1File = "textures/ttex_1.jpg";
inline constexpr const char* kTunnelImage2File = "textures/ttex_2.jpg";

// Image library, music (started at once), programme clock, landscape, then
// LoadDemoResources. Always true: a missing part only degrades the show.
bool InitDemo(Demo& demo);

// Font, tori, particle systems, background, clear colour, backdrop and tunnel
// images, tunnel rings, flight curves.
void LoadDemoResources(Demo& demo);
