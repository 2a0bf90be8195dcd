// il.h (browser build): the part of DevIL's image library the demo's start-up calls
//
// The part of DevIL's image library the demo's start-up calls, served by a small stand-in that lets the
// browser decode PNG and JPEG pictures.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int ILuint;
typedef int ILint;
typedef unsigned int ILenum;
typedef unsigned char ILboolean;
typedef char ILchar;
typedef ILchar* ILstring;
typedef const ILchar* ILconst_string;

#define IL_FALSE 0
#define IL_TRUE 1

void ilInit(void);
void ilGenImages(ILint count, ILuint* images);
void ilBindImage(ILuint image);
void ilDeleteImages(ILint count, const ILuint* images);
// Loads a PNG or JPEG file into the bound image; IL_FALSE leaves the image as it was.
ILboolean ilLoadImage(ILconst_string fileName);

#ifdef __cplusplus
}
#endif
