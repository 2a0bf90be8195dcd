// EffectScenes: the tunnel, wireframe-torus and solid-torus scenes of the timeline
#pragma once

// The three timeline scenes built from the effect objects: the tunnel with its particle jet, the wireframe
// torus in its particle cloud and the solid torus over the turning background panel. The scenes keep no
// state; the objects carry their own animation from one showing to the next.

class BackgroundPanel;
class ParticleSystem;
class Torus;
class Tunnel;

// tunnelTexture is the tunnel texture slot (first or second tunnel image); jet is the
// second preset-2 particle system, drawn on the matrix the tunnel leaves plus (0, 0, -20).
void TunnelScene(Tunnel& tunnel, unsigned int tunnelTexture, ParticleSystem& jet);
// cloud is the preset-0 particle system, drawn before the torus and without depth test.
void WireTorusScene(ParticleSystem& cloud, Torus& wireTorus);
void SolidTorusScene(BackgroundPanel& panel, Torus& solidTorus);
