// Artwork: painting and writing the pictures (see Artwork.h)
#include "Artwork.h"

#include "Console.h"
#include "Glyphs.h"
#include "Scenery.h"
#include "Terrain.h"
#include "Writers.h"

namespace assetgen {

bool PaintArtwork(Artwork& art) {
  Island island = MakeIsland();
  art.heightmap = island.heights;
  art.coast = MakeCoastLayer(island);
  art.green = MakeGreenLayer(island);
  art.rock = MakeRockLayer(island);
  art.snow = MakeSnowLayer(island);
  art.sky = MakeSky();
  art.stone = MakeStone();
  art.particle = MakeParticleGlow();
  art.torus = MakeTorusPattern();
  art.backdrop = MakeBackdrop();
  art.tunnelMetal = MakeTunnelMetal();
  art.tunnelLava = MakeTunnelLava();
  return MakeConsolePanel(art.console) && MakeFontSheet(art.font);
}

bool WritePictures(const std::filesystem::path& root, const Artwork& art) {
  const std::filesystem::path data = root / "data", textures = root / "textures";
  const std::filesystem::path layers = data / "gfx" / "large", sky = data / "gfx" / "skybox";
  bool ok = WriteBmpGrey(data / "terrain" / "TerrainData4.bmp", art.heightmap);
  ok = WriteBmpColour(layers / "tex0.bmp", art.coast, ByteOrder::kBlueFirst) && ok;
  ok = WriteBmpColour(layers / "tex1.bmp", art.green, ByteOrder::kBlueFirst) && ok;
  ok = WriteBmpColour(layers / "tex2.bmp", art.rock, ByteOrder::kBlueFirst) && ok;
  ok = WriteBmpColour(layers / "tex3.bmp", art.snow, ByteOrder::kBlueFirst) && ok;
  // The sky box uploads the file's bytes unchanged as RGB, so red goes first in the file.
  ok = WriteBmpColour(sky / "sky.bmp", art.sky, ByteOrder::kRedFirst) && ok;
  ok = WriteBmpColour(sky / "stone.bmp", art.stone, ByteOrder::kRedFirst) && ok;
  ok = WriteJpeg(textures / "particle.jpg", art.particle, 95) && ok;
  ok = WriteJpeg(textures / "torus.jpg", art.torus, 92) && ok;
  ok = WriteJpeg(textures / "bg1.jpg", art.backdrop, 92) && ok;
  ok = WriteJpeg(textures / "ttex_1.jpg", art.tunnelMetal, 92) && ok;
  ok = WriteJpeg(textures / "ttex_2.jpg", art.tunnelLava, 92) && ok;
  ok = WritePng(data / "textures" / "console.png", art.console, true) && ok;
  ok = WriteTga(data / "font" / "Font.tga", art.font) && ok;
  return ok;
}

}  // namespace assetgen
