#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "base/wave_io.h"

namespace kav {

SdlAudio::~SdlAudio() {
  Close();
}

bool SdlAudio::Open() {
  if (open_) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  initialised_ = true;
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    Close();
    return false;
  }
  Mix_AllocateChannels(kSoundSlots);
  int frequency = 0;
  Uint16 format = 0;
  int channels = 2;
  Mix_QuerySpec(&frequency, &format, &channels);
  for (Gains& g : gains_) g.channels = channels;
  open_ = true;
  return true;
}

namespace {

// The mixer only ever sees a canonical file of a clip our reader accepted: whatever else a
// replaced file holds never reaches it.
Mix_Chunk* LoadClip(const std::string& path) {
  const std::optional<WaveClip> clip = ReadWaveFile(path);
  if (!clip) return nullptr;
  const std::vector<uint8_t> bytes = EncodeWave(*clip);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) return nullptr;
  return Mix_LoadWAV_RW(rw, 1);
}

}  // namespace

bool SdlAudio::Load(int slot, const std::string& path) {
  if (!open_ || slot < 0 || slot >= kSoundSlots) return false;
  if (chunks_[slot] != nullptr) {
    Mix_HaltChannel(slot);
    Mix_FreeChunk(chunks_[slot]);
  }
  chunks_[slot] = LoadClip(path);
  levels_.Reset(slot);
  ApplyGains(slot);
  return chunks_[slot] != nullptr;
}

bool SdlAudio::Loaded(int slot) const {
  return Usable(slot);
}

void SdlAudio::Play(int slot, bool loop) {
  if (!Usable(slot)) return;
  // The mixer drops a channel's effects whenever it stops, so the gain goes on afresh; on a
  // channel that is not playing it stays through the start, before a sample is mixed.
  Mix_HaltChannel(slot);
  Mix_RegisterEffect(slot, &SdlAudio::GainEffect, nullptr, &gains_[static_cast<size_t>(slot)]);
  Mix_PlayChannel(slot, chunks_[slot], loop ? -1 : 0);
}

void SdlAudio::Stop(int slot) {
  if (!Usable(slot)) return;
  Mix_HaltChannel(slot);
}

void SdlAudio::Rewind(int) {
  // Nothing to do: the mixer starts a clip from its beginning on every play, and the game
  // rewinds only right before it plays.
}

void SdlAudio::ApplyGains(int16_t* samples, size_t frames, int channels, float left, float right) {
  const float louder = std::max(left, right);
  const auto width = static_cast<size_t>(channels);
  for (size_t f = 0; f < frames; ++f) {
    int16_t* frame = samples + f * width;
    for (size_t c = 0; c < width; ++c) {
      const float gain = channels >= 2 && c < 2 ? (c == 0 ? left : right) : louder;
      frame[c] = static_cast<int16_t>(std::lround(static_cast<float>(frame[c]) * gain));
    }
  }
}

void SdlAudio::GainEffect(int /*channel*/, void* stream, int length, void* gains) {
  const Gains& g = *static_cast<const Gains*>(gains);
  if (g.channels <= 0) return;
  const size_t frames = static_cast<size_t>(length) / (sizeof(int16_t) * static_cast<size_t>(g.channels));
  ApplyGains(static_cast<int16_t*>(stream), frames, g.channels, g.left.load(std::memory_order_relaxed),
             g.right.load(std::memory_order_relaxed));
}

void SdlAudio::ApplyGains(int slot) {
  const SideGains sides = levels_.Gains(slot);
  Gains& g = gains_[static_cast<size_t>(slot)];
  g.left.store(static_cast<float>(sides.left), std::memory_order_relaxed);
  g.right.store(static_cast<float>(sides.right), std::memory_order_relaxed);
}

void SdlAudio::SetPan(int slot, int32_t pan) {
  if (!Usable(slot)) return;
  levels_.SetPan(slot, pan);
  ApplyGains(slot);
}

void SdlAudio::SetVolume(int slot, int32_t volume) {
  if (!Usable(slot)) return;
  levels_.SetVolume(slot, volume);
  ApplyGains(slot);
}

int32_t SdlAudio::Volume(int slot) const {
  return Usable(slot) ? levels_.Volume(slot) : 0;
}

void SdlAudio::Close() {
  if (open_) {
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& c : chunks_) {
      if (c != nullptr) Mix_FreeChunk(c);
      c = nullptr;
    }
    Mix_CloseAudio();
    open_ = false;
  }
  if (initialised_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    initialised_ = false;
    // The window and the pad may still hold their parts of SDL; the last one out quits it.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }
}

}  // namespace kav
