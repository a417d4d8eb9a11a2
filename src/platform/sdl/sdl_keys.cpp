#include "platform/sdl/sdl_keys.h"

#include <SDL.h>

#include "platform/keys.h"

namespace kav {

static_assert(SDL_NUM_SCANCODES <= HeldKeyFilter::kScancodeCount);
// The key table numbers keys as SDL's scancodes do.
static_assert(SDL_SCANCODE_A == kUsageA && SDL_SCANCODE_1 == kUsage1 && SDL_SCANCODE_0 == kUsage0);
static_assert(SDL_SCANCODE_RETURN == 40 && SDL_SCANCODE_KP_ENTER == 88 && SDL_SCANCODE_F4 == 61);
static_assert(SDL_SCANCODE_LALT == 226 && SDL_SCANCODE_RSHIFT == 229);

int ScancodeForVk(int vk) {
  if (vk == kVkM) return SDL_SCANCODE_M;
  for (const KeyInfo& k : kKeys) {
    if (k.vk == vk && k.polled) return k.usage;
  }
  return SDL_SCANCODE_UNKNOWN;
}

int VkForKey(int scancode, int keycode) {
  const bool latinLetter = keycode >= SDLK_a && keycode <= SDLK_z;
  // Windows numbers letters by the layout's letter; a layout without Latin letters falls back to
  // the key's position, as Windows does.
  const bool otherScriptLetter =
      scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z && (keycode == SDLK_UNKNOWN || keycode >= 0x80);
  if (latinLetter || otherScriptLetter) {
    const int letter = latinLetter ? keycode - SDLK_a : scancode - SDL_SCANCODE_A;
    return 'A' + letter;
  }
  // The top row's digits, wherever the layout puts its symbols on them.
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
  if (scancode == SDL_SCANCODE_0) return '0';
  for (const KeyInfo& k : kKeys) {
    if (scancode == k.usage || (k.twinUsage != 0 && scancode == k.twinUsage)) return k.vk;
  }
  return 0;
}

bool HeldKeyFilter::KeyPressed(int scancode, bool repeat) {
  releaseRun_.reset();
  if (repeat || !Valid(scancode)) {
    return !repeat;
  }
  const auto key = static_cast<size_t>(scancode);
  held_.set(key);
  if (releasedSinceLoss_.test(key)) {
    stale_.reset(key);
    releasedSinceLoss_.reset(key);
  }
  // A press without a release since the focus loss is SDL catching up with a key that is
  // still held, not a new press.
  return !stale_.test(key);
}

void HeldKeyFilter::KeyReleased(int scancode, uint32_t ms) {
  if (!Valid(scancode)) {
    releaseRun_.reset();
    return;
  }
  const auto key = static_cast<size_t>(scancode);
  held_.reset(key);
  releaseRun_.set(key);
  releasedAt_[key] = ms;
  if (stale_.test(key)) {
    releasedSinceLoss_.set(key);
  }
}

void HeldKeyFilter::FocusLost(uint32_t ms) {
  // SDL releases every held key just before it reports the focus loss, in the same
  // millisecond or so. A release of that run from longer before was the player letting go
  // (nothing else need happen between that and switching windows), so that key was up.
  auto heldAtLoss = held_;
  for (size_t key = 0; key < kScancodeCount; ++key) {
    if (releaseRun_.test(key) && ms - releasedAt_[key] <= kLossReleaseMs) {
      heldAtLoss.set(key);
    }
  }
  stale_ |= heldAtLoss;
  releasedSinceLoss_ &= ~heldAtLoss;
  releaseRun_.reset();
}

bool HeldKeyFilter::Passes(int scancode) const {
  return Valid(scancode) && !stale_.test(static_cast<size_t>(scancode));
}

}  // namespace kav
