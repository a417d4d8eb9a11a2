#include "platform/sdl/sharp_scale.h"

#include <algorithm>

#include "platform/platform.h"

namespace kav {

int WholeScale(int outputWidth, int outputHeight) {
  return std::max(1, std::min(outputWidth / kScreenWidth, outputHeight / kScreenHeight));
}

bool ExactWholeScale(int outputWidth, int outputHeight) {
  const int k = WholeScale(outputWidth, outputHeight);
  // The fitted frame is as wide as the output or as high; exact when that side is k frames.
  const bool widthBound =
      static_cast<long>(outputWidth) * kScreenHeight <= static_cast<long>(outputHeight) * kScreenWidth;
  return widthBound ? outputWidth == k * kScreenWidth : outputHeight == k * kScreenHeight;
}

SharpScaler::~SharpScaler() {
  Release();
}

void SharpScaler::Release() {
  if (prescaled_ != nullptr) SDL_DestroyTexture(prescaled_);
  prescaled_ = nullptr;
  factor_ = 0;
}

void SharpScaler::Draw(SDL_Renderer* renderer, SDL_Texture* frame) {
  int width = 0;
  int height = 0;
  SDL_GetRendererOutputSize(renderer, &width, &height);
  SDL_SetTextureScaleMode(frame, SDL_ScaleModeNearest);
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer, &info);
  if (ExactWholeScale(width, height) || (info.flags & SDL_RENDERER_TARGETTEXTURE) == 0) {
    SDL_RenderCopy(renderer, frame, nullptr, nullptr);
    return;
  }
  const int k = WholeScale(width, height);
  if (k != factor_) {
    Release();
    prescaled_ = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, k * kScreenWidth,
                                   k * kScreenHeight);
    if (prescaled_ == nullptr) {
      SDL_RenderCopy(renderer, frame, nullptr, nullptr);
      return;
    }
    SDL_SetTextureScaleMode(prescaled_, SDL_ScaleModeLinear);
    factor_ = k;
  }
  // A render target has its own viewport and scale; the window's logical size comes back
  // with the window as the target.
  SDL_SetRenderTarget(renderer, prescaled_);
  SDL_RenderCopy(renderer, frame, nullptr, nullptr);
  SDL_SetRenderTarget(renderer, nullptr);
  SDL_RenderCopy(renderer, prescaled_, nullptr, nullptr);
}

}  // namespace kav
