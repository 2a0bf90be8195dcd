// Demo: the program-wide state object
#pragma once

#include <cstdint>

#include "director/Flight.h"
#include "director/MusicStream.h"
#include "director/Scrollers.h"
#include "director/ShellState.h"
#include "effects/BackgroundPanel.h"
#include "effects/Torus.h"
#include "effects/Tunnel.h"
#include "geometry/Camera.h"
#include "geometry/Octree.h"
#include "image/MessageBox.h"
#include "particles/ParticleSystem.h"
#include "particles/RuntimeRand.h"
#include "platform/Platform.h"
#include "terrain/Console.h"
#include "terrain/Terrain.h"
#include "text/Font.h"
#include "text/TextPrinter.h"

// Values the start-up writes and the timeline reads.
struct TimelineState {
  uint32_t TimelineStartTick = 0;      // ms tick at which the programme and the music start
  unsigned int tunnelTextureSlot = 0;  // GL texture the tunnel binds
  unsigned int backdropTexture = 0;    // GL texture of the scrollers' backdrop
  unsigned int tunnelImage1 = 0;       // GL textures of the two tunnel images
  unsigned int tunnelImage2 = 0;
  unsigned int backdropImage = 0;  // DevIL image name of the backdrop; 0 when none
};

// One instance per program run (main owns it) or per test. Its members are the program-wide objects in the
// order the program builds them; C++ destroys them in reverse, so the music stops and the sound library
// closes only after the window is gone. Constructors only set initial values; start-up (InitDemo) initialises
// everything explicitly. CONTRIBUTING.md tells how a new object and its scene are wired in.
struct Demo {
  explicit Demo(platform::Platform& platform);
  Demo(const Demo&) = delete;
  Demo& operator=(const Demo&) = delete;

  // The operating system, as the platform backend offers it.
  platform::Platform& platform;
  ShellState shell;
  TimelineState timeline;

  // The octree's debug display switches (keys P and R; read by the traversal).
  OctreeDisplay octreeDisplay;

  // The flight's phase and direction go on across restarts; its curves are rebuilt.
  FlightState flight;
  // The runtime rand: one generator for the whole run, never reseeded (F1 included);
  // only the particle systems draw from it.
  RuntimeRand rand;
  // Phase of the tori's thickness wave, shared by both tori and kept across F1.
  float TubePhase = 0.0f;
  // The tunnel's rings, scroll, sway and speed; its TunnelSpeed is the W/X key step.
  Tunnel tunnel;

  // ---- Program-wide objects, in construction order ----
  Terrain terrain;
  Camera camera;
  Console console;
  MusicStream music;
  Torus wireTorus{TubePhase};
  Torus solidTorus{TubePhase};
  BackgroundPanel backgroundPanel{10, 10, 10};
  ParticleSystem idleJet{ParticlePreset::kJet, rand};  // initialised (texture loaded) but never drawn
  ParticleSystem cloud{ParticlePreset::kDrift, rand};  // the wireframe torus's particle cloud
  ParticleSystem jet{ParticlePreset::kJet, rand};      // the tunnel's particle jet

  // The bitmap font, the printer that draws with it, and the two scrollers' state, which
  // no restart resets.
  Font font;
  TextPrinter printer{font};
  ScrollerStates scrollers;

  // Shows a box through the platform; BoxOwner::kMainWindow means the current window.
  ShowMessageBox MessageBoxes();
};
