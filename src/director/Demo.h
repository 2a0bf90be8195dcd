// Demo: the program-wide state object. One instance per program run (main owns it)
// or per test. Its members are the program-wide objects in the order the program
// builds them; C++ destroys them in reverse, so the music stops and the sound
// library closes only after the window is gone. Constructors only set initial
// values; start-up (InitDemo) initialises everything explicitly.
//
// Wiring a module in: add its object(s) here, at their place in the construction
// order, initialised in the member list if they need constructor values; call its
// Init/Load from LoadDemoResources (director/Startup.cpp) at its step; call its scene
// entry from RunTimeline (director/Timeline.cpp) in its window. Scene entries take
// what they need explicitly (e.g. `TunnelScene(demo.tunnel, demo.particles[1], ...)`
// or simply `Demo&`).
// Depends on: platform/Platform.h, director/ShellState.h, director/MusicStream.h,
// geometry/Camera.h, geometry/Octree.h, terrain/Console.h, terrain/MessageBox.h.
#pragma once

#include <cstdint>

#include "director/MusicStream.h"
#include "director/ShellState.h"
#include "geometry/Camera.h"
#include "geometry/Octree.h"
#include "platform/Platform.h"
#include "terrain/Console.h"
#include "terrain/MessageBox.h"

// Values the start-up writes and the timeline reads.
struct TimelineState {
  uint32_t TimelineStartTick = 0;     // ms tick at which the programme and the music start
  unsigned int TunnelTextureSlot = 0;  // GL texture the tunnel binds
  unsigned int BackdropTexture = 0;    // GL texture of the scrollers' backdrop
  unsigned int TunnelImage1 = 0;       // GL textures of the two tunnel images
  unsigned int TunnelImage2 = 0;
  unsigned int BackdropImage = 0;      // DevIL image name of the backdrop; 0 when none
};

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

  // ---- Program-wide objects, in construction order ----
  // (Terrain comes first once its module lands.)
  Camera camera;
  Console console;
  MusicStream music;
  // (Wireframe Torus, solid Torus, BackgroundPanel(10, 10, 10), three ParticleSystems
  // with presets 2, 0, 2 follow here.)

  // Shows a box through the platform; BoxOwner::MainWindow means the current window.
  ShowMessageBox MessageBoxes();
};
