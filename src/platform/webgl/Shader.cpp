// Shader: GL 1.1's fixed-function pipeline for the subset, in GLSL ES 3.00 variants
//
// GL 1.1's fixed-function pipeline for the subset, in GLSL ES 3.00, built in variants for the features a draw
// uses (as Mesa builds its fixed-function shaders): rasterisers run an unused texture lookup, varying or
// discard at a cost, and a discard costs early depth testing. Lighting is per vertex with the default
// material (no emission, no specular), the colour clamped before it is interpolated; flat shading takes the
// provoking vertex's colour through a flat varying.
#include "platform/webgl/Renderer.h"

namespace webgl {
namespace {

constexpr const char* kUniformBlock = R"(
layout(std140) uniform Fixed {
  mat4 uMvp;
  mat4 uModelView;
  mat4 uTexMatrix;
  mat3 uNormalMatrix;
  vec4 uLightPosition;
  vec4 uLightAmbient;
  vec4 uLightDiffuse;
  vec4 uSceneAmbient;
  vec4 uParams;  // alpha reference, texture width, texture height
  ivec4 uLight;  // lighting, light 0, colour material, normalize
  ivec4 uShade;  // flat, texturing, replace, texture has colour
  ivec4 uTest;   // texture has alpha, alpha function, GL_CLAMP along s, along t
  vec4 uViewport;
  ivec4 uLine;   // smooth lines
};
)";

constexpr const char* kVertexShader = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aTexCoord;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec4 aColor;
#if FLAT
flat out vec4 vColor;
#else
out vec4 vColor;
#endif
#if TEXTURING
out vec3 vTexCoord;
#endif
#if SMOOTH_LINES
layout(location = 4) in vec3 aOther;   // the other end of the line
layout(location = 5) in vec2 aCorner;  // across, along (-1 at the first end)
out vec4 vCoverage;  // (across, along, half length, 1) times w

// Brings an end that lies behind the near plane onto it, along the line.
vec4 InFront(vec4 end, vec4 other) {
  float d = end.z + end.w, e = other.z + other.w;
  return d >= 0.0 ? end : mix(end, other, d / (d - e));
}

// A smooth line's corner: moved in window coordinates half a pixel past its end and one pixel
// to the side (the lines are one pixel wide), with the distances coverage is measured by.
vec4 Widen(vec4 clip) {
  vec4 other = InFront(uMvp * vec4(aOther, 1.0), clip);
  clip = InFront(clip, other);
  vec2 halfSize = 0.5 * uViewport.zw;
  vec2 a = clip.xy / clip.w * halfSize, b = other.xy / other.w * halfSize;
  float span = distance(a, b);
  vec2 along = span > 0.0 ? -aCorner.y * (b - a) / span : vec2(1.0, 0.0);
  vec2 offset = 0.5 * aCorner.y * along + aCorner.x * vec2(-along.y, along.x);
  float halfLength = span < 1.0 ? span : 0.5 * span + 0.5;
  vCoverage = vec4(aCorner.x, aCorner.y * halfLength, halfLength, 1.0) * clip.w;
  return vec4(clip.xy + offset / halfSize * clip.w, clip.zw);
}
#endif

#if LIGHTING
vec4 Lit(vec4 eye) {
  vec4 ambient = uLight.z != 0 ? aColor : vec4(0.2, 0.2, 0.2, 1.0);
  vec4 diffuse = uLight.z != 0 ? aColor : vec4(0.8, 0.8, 0.8, 1.0);
  vec3 c = uSceneAmbient.rgb * ambient.rgb;
  if (uLight.y != 0) {
    vec3 n = uNormalMatrix * aNormal;
    if (uLight.w != 0) n = normalize(n);
    vec3 l = uLightPosition.w == 0.0 ? uLightPosition.xyz : uLightPosition.xyz / uLightPosition.w - eye.xyz / eye.w;
    float nDotL = max(dot(n, normalize(l)), 0.0);
    c += uLightAmbient.rgb * ambient.rgb + nDotL * uLightDiffuse.rgb * diffuse.rgb;
  }
  return vec4(c, diffuse.a);
}
#endif

void main() {
  vec4 position = vec4(aPosition, 1.0);
  gl_Position = uMvp * position;
#if SMOOTH_LINES
  gl_Position = Widen(gl_Position);
#endif
  gl_PointSize = 1.0;
#if LIGHTING
  vColor = clamp(Lit(uModelView * position), 0.0, 1.0);
#else
  vColor = clamp(aColor, 0.0, 1.0);
#endif
#if TEXTURING
  vec4 t = uTexMatrix * vec4(aTexCoord, 0.0, 1.0);
  vTexCoord = vec3(t.xy, t.w);
#endif
}
)";

constexpr const char* kFragmentShader = R"(
#if FLAT
flat in vec4 vColor;
#else
in vec4 vColor;
#endif
out vec4 fragColor;

#if TEXTURING
in vec3 vTexCoord;
uniform sampler2D uTexture;

// Under GL_CLAMP with linear filtering, the share of the filter that falls on the border.
float Inside(float coordinate, float size) {
  float x = clamp(coordinate, 0.0, 1.0) * size;
  return 1.0 - max(0.0, 0.5 - x) - max(0.0, x - (size - 0.5));
}

vec4 Textured(vec4 c) {
  vec2 st = vTexCoord.xy / vTexCoord.z;
  vec4 t = texture(uTexture, st);
  float inside = (uTest.z != 0 ? Inside(st.s, uParams.y) : 1.0) * (uTest.w != 0 ? Inside(st.t, uParams.z) : 1.0);
  // The border is transparent black; components the format lacks stay at their neutral 1.
  vec4 border = vec4(vec3(uShade.w != 0 ? 0.0 : 1.0), uTest.x != 0 ? 0.0 : 1.0);
  t = mix(border, t, inside);
  if (uShade.z == 0) return c * t;
  return vec4(uShade.w != 0 ? t.rgb : c.rgb, uTest.x != 0 ? t.a : c.a);
}
#endif

#if SMOOTH_LINES
in vec4 vCoverage;
#endif

#if ALPHA_TEST
// Compared in the framebuffer's 8 bits, as Mesa does.
bool Passes(float a) {
  float alpha = floor(clamp(a, 0.0, 1.0) * 255.0 + 0.5);
  float ref = floor(uParams.x * 255.0 + 0.5);
  switch (uTest.y) {
    case 0x0200: return false;
    case 0x0201: return alpha < ref;
    case 0x0202: return alpha == ref;
    case 0x0203: return alpha <= ref;
    case 0x0204: return alpha > ref;
    case 0x0205: return alpha != ref;
    case 0x0206: return alpha >= ref;
    default: return true;
  }
}
#endif

void main() {
  vec4 c = vColor;
#if TEXTURING
  c = Textured(c);
#endif
#if SMOOTH_LINES
  vec3 d = vCoverage.xyz / vCoverage.w;  // straight across the window, as Mesa interpolates it
  c.a *= clamp(1.0 - abs(d.x), 0.0, 1.0) * clamp(d.z - abs(d.y), 0.0, 1.0);
#endif
#if ALPHA_TEST
  if (!Passes(c.a)) discard;
#endif
  fragColor = c;
}
)";

GLuint Compile(const EsApi& es, GLenum type, const std::string& features, const char* body,
               std::string* error) {
  const char* parts[] = {"#version 300 es\nprecision highp float;\nprecision highp int;\n", features.c_str(),
                         kUniformBlock, body};
  const GLuint shader = es.CreateShader(type);
  es.ShaderSource(shader, 4, parts, nullptr);
  es.CompileShader(shader);
  GLint ok = 0;
  es.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[1024] = {};
  es.GetShaderInfoLog(shader, sizeof log, nullptr, log);
  *error = std::string(type == GL_VERTEX_SHADER ? "vertex" : "fragment") + " shader: " + log;
  es.DeleteShader(shader);
  return 0;
}

}  // namespace

GLuint BuildProgram(const EsApi& es, unsigned features, std::string* error) {
  std::string defines;
  const char* names[] = {"LIGHTING", "TEXTURING", "FLAT", "ALPHA_TEST", "SMOOTH_LINES"};
  for (unsigned i = 0; i < 5; ++i) {
    defines += std::string("#define ") + names[i] + ((features >> i) & 1u ? " 1\n" : " 0\n");
  }
  const GLuint vertex = Compile(es, GL_VERTEX_SHADER, defines, kVertexShader, error);
  const GLuint fragment = vertex != 0 ? Compile(es, GL_FRAGMENT_SHADER, defines, kFragmentShader, error) : 0;
  if (fragment == 0) {
    if (vertex != 0) es.DeleteShader(vertex);
    return 0;
  }
  const GLuint program = es.CreateProgram();
  es.AttachShader(program, vertex);
  es.AttachShader(program, fragment);
  es.LinkProgram(program);
  es.DeleteShader(vertex);
  es.DeleteShader(fragment);
  GLint ok = 0;
  es.GetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok) return program;
  char log[1024] = {};
  es.GetProgramInfoLog(program, sizeof log, nullptr, log);
  *error = std::string("shader link: ") + log;
  es.DeleteProgram(program);
  return 0;
}

}  // namespace webgl
