#pragma once

#include <SDL.h>

namespace kav {

// The frame's whole-number scale for an output of this many pixels: the largest multiple of
// 800 x 600 that fits, at least 1.
int WholeScale(int outputWidth, int outputHeight);
// True when the frame, fitted with its aspect kept, lands exactly on its whole-number scale.
bool ExactWholeScale(int outputWidth, int outputHeight);

// Sharp-bilinear: nearest-neighbour up to the whole-number scale, then a smooth filter to the
// final size, so that no frame pixel comes out a column wider than its neighbour. A whole
// multiple stays pure nearest-neighbour.
class SharpScaler {
 public:
  SharpScaler() = default;
  SharpScaler(const SharpScaler&) = delete;
  SharpScaler& operator=(const SharpScaler&) = delete;
  ~SharpScaler();

  // Draws the 800 x 600 frame texture over the renderer's whole logical area.
  void Draw(SDL_Renderer* renderer, SDL_Texture* frame);
  // The renderer is going away: its textures with it.
  void Release();

 private:
  SDL_Texture* prescaled_ = nullptr;
  int factor_ = 0;
};

}  // namespace kav
