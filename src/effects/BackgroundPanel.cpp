// BackgroundPanel: texture upload and the turning quad
#include "effects/BackgroundPanel.h"

#include <GL/gl.h>

#include "image/Jpeg.h"
#include "image/Texture.h"

bool BackgroundPanel::LoadTexture() {
  glGenTextures(1, &texture_);
  unsigned width = static_cast<unsigned>(width_), height = static_cast<unsigned>(height_), bits = 24;
  pixels_ = LoadJpeg("textures/bg1.jpg", width, height, bits);  // replaces, and frees, a previous copy
  // A failed decode must not hand GL a size without pixels: upload an empty 0 x 0 image.
  if (!pixels_) width = height = 0;
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  TextureUpload upload;
  upload.wrapS = TextureWrap::kClamp;
  UploadTexture(texture_, pixels_.get(), width_, height_, upload);
  return true;
}

void BackgroundPanel::Draw() {
  glPushAttrib(0x000FFFFF);  // every attribute group of OpenGL 1.1
  glDisable(GL_DEPTH_TEST);
  angle_ = static_cast<float>(angle_ + static_cast<double>(angleStep_));
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glColor4f(1, 1, 1, 0.5f);
  glDisable(GL_LIGHTING);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(0, 0, -5);
  glRotatef(angle_, 0, 0, 1);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glEnable(GL_TEXTURE_2D);
  // s runs along y and t along x: the picture shows mirrored about its diagonal.
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex3f(-5, -5, 0);
  glTexCoord2f(0, 1), glVertex3f(5, -5, 0);
  glTexCoord2f(1, 1), glVertex3f(5, 5, 0);
  glTexCoord2f(1, 0), glVertex3f(-5, 5, 0);
  glEnd();
  glPopMatrix();
  glEnable(GL_DEPTH_TEST);
  glPopAttrib();
}
