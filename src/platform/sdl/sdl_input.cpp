#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

namespace kav {

namespace {

PlatformEvent Event(PlatformEvent::Kind kind) {
  PlatformEvent event;
  event.kind = kind;
  return event;
}

int ModsFor(Uint16 sdlMods) {
  int mods = 0;
  if ((sdlMods & KMOD_SHIFT) != 0) {
    mods |= kModShift;
  }
  if ((sdlMods & KMOD_ALT) != 0) {
    mods |= kModAlt;
  }
  return mods;
}

}  // namespace

SdlInput::SdlInput(SdlDisplay& display) : display_(display) {
  // Watches from the window's creation on: SDL drops its watchers whenever its video part stops.
  display_.onWindowCreated = [this] {
    SDL_AddEventWatch(&SdlInput::WatchEvent, this);
    watching_ = true;
  };
}

SdlInput::~SdlInput() {
  display_.onWindowCreated = nullptr;
  if (watching_) {
    SDL_DelEventWatch(&SdlInput::WatchEvent, this);
  }
  if (shapedCursor_ != nullptr) {
    SDL_FreeCursor(shapedCursor_);
  }
}

// Runs inside SDL as each event is queued, so a focus loss takes effect before any later key
// poll, even when the game does not take events off the queue for a while.
int SdlInput::WatchEvent(void* self, SDL_Event* event) {
  SdlInput& platform = *static_cast<SdlInput*>(self);
  HeldKeyFilter& heldKeys = platform.heldKeys_;
  // Loops that poll keys without running window events still notice a close and keep the
  // window painted.
  if (event->type == SDL_QUIT || (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_CLOSE)) {
    platform.closePending_ = true;
  } else if (event->type == SDL_WINDOWEVENT &&
             (event->window.event == SDL_WINDOWEVENT_EXPOSED || event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
    platform.repaintPending_ = true;
  }
  if (event->type == SDL_KEYDOWN) {
    if (!heldKeys.KeyPressed(event->key.keysym.scancode, event->key.repeat != 0)) {
      // Keeps the dialog from taking it as a key press too.
      event->key.repeat = 1;
    }
  } else if (event->type == SDL_KEYUP) {
    heldKeys.KeyReleased(event->key.keysym.scancode, event->key.timestamp);
  } else if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    heldKeys.FocusLost(event->window.timestamp);
  } else {
    heldKeys.OtherEvent();
  }
  return 1;
}

std::vector<PlatformEvent> SdlInput::PollEvents() {
  std::vector<PlatformEvent> events;
  if (display_.NativeWindow() == nullptr) {
    return events;
  }
  const Uint32 windowId = SDL_GetWindowID(display_.NativeWindow());
  bool closeReported = false;
  bool repaint = false;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_QUIT:
        // Closing the only window also queues a quit; the game hears about it once.
        if (!closeReported) {
          events.push_back(Event(PlatformEvent::Kind::CloseRequested));
          closeReported = true;
        }
        break;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != windowId) {
          break;
        }
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            if (!closeReported) {
              events.push_back(Event(PlatformEvent::Kind::CloseRequested));
              closeReported = true;
            }
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            events.push_back(Event(PlatformEvent::Kind::FocusLost));
            break;
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            events.push_back(Event(PlatformEvent::Kind::FocusGained));
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_RESIZED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:
          case SDL_WINDOWEVENT_RESTORED:
          case SDL_WINDOWEVENT_MAXIMIZED:
            repaint = true;
            break;
          default:
            break;
        }
        break;
      case SDL_MOUSEMOTION:
        if (event.motion.windowID == windowId) {
          UpdatePointer(event.motion.x, event.motion.y);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
        // The renderer has already turned the position into frame coordinates; clicks on the
        // letterbox bars fall outside the frame.
        if (event.button.windowID == windowId && event.button.button == SDL_BUTTON_LEFT && event.button.x >= 0 &&
            event.button.x < kScreenWidth && event.button.y >= 0 && event.button.y < kScreenHeight) {
          PlatformEvent click = Event(PlatformEvent::Kind::MouseDown);
          click.x = event.button.x;
          click.y = event.button.y;
          events.push_back(click);
        }
        break;
      case SDL_KEYDOWN:
        if (event.key.repeat == 0) {
          const int vk = VkForKey(event.key.keysym.scancode, event.key.keysym.sym);
          if (vk != 0) {
            PlatformEvent press = Event(PlatformEvent::Kind::KeyPressed);
            press.vk = vk;
            press.mods = ModsFor(event.key.keysym.mod);
            events.push_back(press);
          }
        }
        break;
      case SDL_TEXTINPUT: {
        PlatformEvent typed = Event(PlatformEvent::Kind::TextInput);
        typed.text = event.text.text;
        events.push_back(std::move(typed));
      } break;
      case SDL_TEXTEDITING: {
        PlatformEvent composing = Event(PlatformEvent::Kind::TextEditing);
        composing.text = event.edit.text;
        events.push_back(std::move(composing));
      } break;
      case SDL_TEXTEDITING_EXT: {
        // A composition too long for the fixed-size event; the text is ours to free.
        PlatformEvent composing = Event(PlatformEvent::Kind::TextEditing);
        if (event.editExt.text != nullptr) {
          composing.text = event.editExt.text;
          SDL_free(event.editExt.text);
        }
        events.push_back(std::move(composing));
      } break;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        repaint = true;
        break;
      default:
        break;
    }
  }
  if (closeReported) {
    closePending_ = false;
  }
  if (repaint || repaintPending_) {
    repaintPending_ = false;
    display_.Repaint();
  }
  return events;
}

bool SdlInput::ScancodeDown(const uint8_t* state, int scancode) const {
  return scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES && state[scancode] != 0 &&
         heldKeys_.Passes(scancode);
}

bool SdlInput::KeyDown(int vk) {
  int scancode = ScancodeForVk(vk);
  if (scancode == SDL_SCANCODE_UNKNOWN || display_.NativeWindow() == nullptr) {
    return false;
  }
  // Refreshes the key state; the window events stay queued for PollEvents.
  PumpWithoutDispatch();
  if (vk == kVkM) {
    // The letter M wherever the layout puts it.
    const SDL_Scancode layoutM = SDL_GetScancodeFromKey(SDLK_m);
    if (layoutM != SDL_SCANCODE_UNKNOWN) {
      scancode = layoutM;
    }
  }
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  if (ScancodeDown(state, scancode)) {
    return true;
  }
  return vk == kVkReturn && ScancodeDown(state, SDL_SCANCODE_KP_ENTER);
}

void SdlInput::PumpWithoutDispatch() {
  SDL_PumpEvents();
  if (repaintPending_) {
    repaintPending_ = false;
    display_.Repaint();
  }
}

bool SdlInput::ClosePending() {
  if (display_.NativeWindow() == nullptr) {
    return false;
  }
  PumpWithoutDispatch();
  return closePending_;
}

void SdlInput::WaitForEvent(int32_t timeoutMs) {
  if (display_.NativeWindow() == nullptr) {
    return;
  }
  display_.ShowPending();
  // Without an event to fill, SDL only waits and leaves the queue as it is.
  SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlInput::SetPointerOver(const PointerShape* shape, const WindowRect& area) {
  if (display_.NativeWindow() == nullptr) {
    return;
  }
  if (shape != pointerShape_) {
    if (shapedCursor_ != nullptr) {
      SDL_SetCursor(SDL_GetDefaultCursor());
      SDL_FreeCursor(shapedCursor_);
      shapedCursor_ = nullptr;
      pointerShaped_ = false;
    }
    pointerShape_ = shape;
    if (shape != nullptr && !shape->pixels.empty()) {
      SDL_Surface* picture =
          SDL_CreateRGBSurfaceWithFormat(0, shape->width, shape->height, 32, SDL_PIXELFORMAT_ARGB8888);
      if (picture != nullptr) {
        for (int y = 0; y < shape->height; ++y) {
          auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(picture->pixels) + y * picture->pitch);
          for (int x = 0; x < shape->width; ++x) {
            const uint32_t c =
                shape->pixels[static_cast<size_t>(y) * static_cast<size_t>(shape->width) + static_cast<size_t>(x)];
            row[x] = c == shape->key ? 0 : (0xFF000000u | c);
          }
        }
        shapedCursor_ = SDL_CreateColorCursor(picture, shape->hotX, shape->hotY);
        SDL_FreeSurface(picture);
      }
    }
  }
  pointerArea_ = area;
  int windowX = 0;
  int windowY = 0;
  SDL_GetMouseState(&windowX, &windowY);
  float frameX = 0;
  float frameY = 0;
  SDL_RenderWindowToLogical(display_.Renderer(), windowX, windowY, &frameX, &frameY);
  UpdatePointer(static_cast<int>(frameX), static_cast<int>(frameY));
}

void SdlInput::UpdatePointer(int frameX, int frameY) {
  const WindowRect& a = pointerArea_;
  const bool over = shapedCursor_ != nullptr && frameX >= a.Left && frameY >= a.Top && frameX < a.Left + a.Width &&
                    frameY < a.Top + a.Height;
  if (over != pointerShaped_) {
    SDL_SetCursor(over ? shapedCursor_ : SDL_GetDefaultCursor());
    pointerShaped_ = over;
  }
}

void SdlInput::WarpMouse(int x, int y) {
  if (display_.NativeWindow() == nullptr) {
    return;
  }
  x = std::clamp(x, 0, kScreenWidth - 1);
  y = std::clamp(y, 0, kScreenHeight - 1);
  // Aim at the middle of the frame pixel so that a scaled pixel maps back to the same one.
  int windowX = 0;
  int windowY = 0;
  SDL_RenderLogicalToWindow(display_.Renderer(), static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, &windowX,
                            &windowY);
  SDL_WarpMouseInWindow(display_.NativeWindow(), windowX, windowY);
}

}  // namespace kav
