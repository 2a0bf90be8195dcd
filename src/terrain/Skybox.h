// Skybox: six textured faces on a cube around the eye, drawn first in each landscape frame
#pragma once

#include <string>
#include <vector>

#include "geometry/Camera.h"
#include "image/MessageBox.h"
#include "image/Texture.h"

// Six textured faces on a cube of half edge 10 around the eye, drawn first in each landscape frame with depth
// testing off.

struct Skybox {
  Texture faces[6];
  float centre[3] = {0.0f, 0.0f, 0.0f};
  float halfSize = 0.0f;

  // Loads face i from names[i] (24-bit BMPs). False for fewer than six names, an empty
  // first name, or at the first face that fails (earlier faces stay loaded).
  bool Load(const std::vector<std::string>& names, const ShowMessageBox& showMessage);
  // The cube turned with the camera but never moved; GL state is restored after.
  void Draw(Camera& camera) const;
};

// The six face files of the build: the sky picture five times, the stone one below.
std::vector<std::string> SkyboxFiles();
