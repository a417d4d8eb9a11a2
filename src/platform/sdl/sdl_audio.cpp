#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/wave_io.h"

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
  volume_[slot] = 0;
  pan_[slot] = 0;
  Mix_Volume(slot, MIX_MAX_VOLUME);
  Mix_SetPanning(slot, 255, 255);
  return chunks_[slot] != nullptr;
}

bool SdlAudio::Loaded(int slot) const {
  return Usable(slot);
}

void SdlAudio::Play(int slot, bool loop) {
  if (!Usable(slot)) return;
  Mix_PlayChannel(slot, chunks_[slot], loop ? -1 : 0);
  ApplyPan(slot);
}

void SdlAudio::Stop(int slot) {
  if (!Usable(slot)) return;
  Mix_HaltChannel(slot);
}

void SdlAudio::Rewind(int) {
  // Nothing to do: the mixer starts a clip from its beginning on every play, and the game
  // rewinds only right before it plays.
}

void SdlAudio::PanToSides(int32_t pan, uint8_t& left, uint8_t& right) {
  const auto far = static_cast<uint8_t>(std::lround(255.0 * GainOfHundredthsDb(-std::abs(pan))));
  left = pan > 0 ? far : 255;
  right = pan < 0 ? far : 255;
}

int SdlAudio::MixerVolume(int32_t volume) {
  return static_cast<int>(std::lround(MIX_MAX_VOLUME * GainOfHundredthsDb(volume)));
}

void SdlAudio::SetPan(int slot, int32_t pan) {
  if (!Usable(slot)) return;
  pan_[slot] = pan;
  ApplyPan(slot);
}

void SdlAudio::ApplyPan(int slot) {
  uint8_t left = 255;
  uint8_t right = 255;
  PanToSides(pan_[slot], left, right);
  Mix_SetPanning(slot, left, right);
}

void SdlAudio::SetVolume(int slot, int32_t volume) {
  if (!Usable(slot)) return;
  volume_[slot] = std::min(volume, 0);
  Mix_Volume(slot, MixerVolume(volume));
}

int32_t SdlAudio::Volume(int slot) const {
  return Usable(slot) ? volume_[slot] : 0;
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
