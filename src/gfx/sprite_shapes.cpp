#include "gfx/sprite_shapes.h"

#include <cmath>

namespace kav {

int16_t ShapeSurface(Control& surface, int32_t& key) {
  surface.Shape = RegionFromColourKey(surface.Image, key);
  return -1;
}

void ShapeSprites(GfxState& g, Screen& screen) {
  HeliRecord& heli = g.Heli;
  heli.FirstPic = 0;
  heli.LastPic = 9;
  heli.Frame = 0;
  for (int i = heli.FirstPic; i <= heli.LastPic; ++i) {
    heli.Pics[static_cast<size_t>(i)] = &screen[AnimePatten(i)];
    int32_t key = -1;
    ShapeSurface(*heli.Pics[static_cast<size_t>(i)], key);
  }
  for (Pic id : {Pic::picTitle0, Pic::TekiTama, Pic::TekiMen, Pic::Picture1}) {
    int32_t key = -1;
    ShapeSurface(screen[id], key);
  }
  heli.Width = heli.Pics[static_cast<size_t>(heli.FirstPic)]->Width();
  heli.Height = heli.Pics[static_cast<size_t>(heli.FirstPic)]->Height();
  heli.Pics[static_cast<size_t>(std::lrint(heli.Frame))]->Visible = true;
}

}  // namespace kav
