#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace kav {

namespace {

static_assert(SDL_NUM_SCANCODES <= HeldKeyFilter::kScancodeCount);

constexpr size_t kFramePixels = size_t{kScreenWidth} * kScreenHeight;
constexpr uint32_t kInitFlags = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER;

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

bool EnvIs(const char* name, const char* expected) {
  const char* value = std::getenv(name);
  return value != nullptr && SDL_strcasecmp(value, expected) == 0;
}

// A message box needs a real display; without one SDL could fail slowly or wait for a click
// nobody can give.
bool MessageBoxPossible() {
  if (EnvIs("SDL_VIDEODRIVER", "offscreen") || EnvIs("SDL_VIDEODRIVER", "dummy")) {
    return false;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
      return false;
    }
  }
  return EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY");
}

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

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') {
    dir += '/';
  }
  return dir;
}

}  // namespace

int ScancodeForVk(int vk) {
  switch (vk) {
    case kVkReturn:
      return SDL_SCANCODE_RETURN;
    case kVkEscape:
      return SDL_SCANCODE_ESCAPE;
    case kVkSpace:
      return SDL_SCANCODE_SPACE;
    case kVkLeft:
      return SDL_SCANCODE_LEFT;
    case kVkUp:
      return SDL_SCANCODE_UP;
    case kVkRight:
      return SDL_SCANCODE_RIGHT;
    case kVkDown:
      return SDL_SCANCODE_DOWN;
    case kVkM:
      return SDL_SCANCODE_M;
    case kVkF4:
      return SDL_SCANCODE_F4;
    default:
      return SDL_SCANCODE_UNKNOWN;
  }
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
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return '1' + (scancode - SDL_SCANCODE_1);
  }
  switch (scancode) {
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      return kVkReturn;
    case SDL_SCANCODE_ESCAPE:
      return kVkEscape;
    case SDL_SCANCODE_SPACE:
      return kVkSpace;
    case SDL_SCANCODE_LEFT:
      return kVkLeft;
    case SDL_SCANCODE_UP:
      return kVkUp;
    case SDL_SCANCODE_RIGHT:
      return kVkRight;
    case SDL_SCANCODE_DOWN:
      return kVkDown;
    case SDL_SCANCODE_F4:
      return kVkF4;
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_BACKSPACE:
      return kVkBackSpace;
    case SDL_SCANCODE_TAB:
      return kVkTab;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return kVkShift;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return kVkAlt;
    case SDL_SCANCODE_END:
      return kVkEnd;
    case SDL_SCANCODE_HOME:
      return kVkHome;
    case SDL_SCANCODE_DELETE:
      return kVkDelete;
    default:
      return 0;
  }
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

LocalClock LocalClockAt(std::chrono::system_clock::time_point when) {
  const auto whole = std::chrono::floor<std::chrono::seconds>(when);
  const std::time_t seconds = std::chrono::system_clock::to_time_t(whole);
  std::tm local{};
  localtime_r(&seconds, &local);
  LocalClock clock;
  clock.Month = local.tm_mon + 1;
  clock.Day = local.tm_mday;
  clock.SecondsSinceMidnight =
      local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + std::chrono::duration<double>(when - whole).count();
  return clock;
}

SdlPlatform::~SdlPlatform() {
  if (watching_) {
    SDL_DelEventWatch(&SdlPlatform::WatchEvent, this);
  }
  if (shapedCursor_ != nullptr) {
    SDL_FreeCursor(shapedCursor_);
  }
  scaler_.Release();
  if (texture_ != nullptr) {
    SDL_DestroyTexture(texture_);
  }
  if (renderer_ != nullptr) {
    SDL_DestroyRenderer(renderer_);
  }
  if (window_ != nullptr) {
    SDL_DestroyWindow(window_);
  }
  if (initFlags_ != 0) {
    SDL_QuitSubSystem(initFlags_);
    // Sound and joystick code may still hold their own parts of SDL; the last one out quits it.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
      SDL_Quit();
    }
  }
}

int32_t SdlPlatform::Ticks() {
  return static_cast<int32_t>(static_cast<uint32_t>(SDL_GetTicks64()));
}

void SdlPlatform::Sleep(int32_t ms) {
  if (ms <= 0) {
    return;
  }
  if (!idleTask_) {
    SDL_Delay(static_cast<Uint32>(ms));
    return;
  }
  constexpr Uint64 kIdleSliceMs = 10;
  const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(ms);
  for (;;) {
    idleTask_();
    const Uint64 now = SDL_GetTicks64();
    if (now >= end) {
      return;
    }
    SDL_Delay(static_cast<Uint32>(std::min(end - now, kIdleSliceMs)));
  }
}

void SdlPlatform::LocalDate(int& month, int& day) {
  const LocalClock clock = LocalClockAt(std::chrono::system_clock::now());
  month = clock.Month;
  day = clock.Day;
}

double SdlPlatform::SecondsSinceMidnight() {
  return LocalClockAt(std::chrono::system_clock::now()).SecondsSinceMidnight;
}

// Runs inside SDL as each event is queued, so a focus loss takes effect before any later key
// poll, even when the game does not take events off the queue for a while.
int SdlPlatform::WatchEvent(void* self, SDL_Event* event) {
  SdlPlatform& platform = *static_cast<SdlPlatform*>(self);
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

std::vector<PlatformEvent> SdlPlatform::PollEvents() {
  std::vector<PlatformEvent> events;
  if (window_ == nullptr) {
    return events;
  }
  const Uint32 windowId = SDL_GetWindowID(window_);
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
    Repaint();
  }
  return events;
}

bool SdlPlatform::ScancodeDown(const uint8_t* state, int scancode) const {
  return scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES && state[scancode] != 0 &&
         heldKeys_.Passes(scancode);
}

bool SdlPlatform::KeyDown(int vk) {
  int scancode = ScancodeForVk(vk);
  if (scancode == SDL_SCANCODE_UNKNOWN || window_ == nullptr) {
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

void SdlPlatform::PumpWithoutDispatch() {
  SDL_PumpEvents();
  if (repaintPending_) {
    repaintPending_ = false;
    Repaint();
  }
}

bool SdlPlatform::ClosePending() {
  if (window_ == nullptr) {
    return false;
  }
  PumpWithoutDispatch();
  return closePending_;
}

void SdlPlatform::CreateMainWindow() {
  if (window_ != nullptr) {
    return;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // Japanese compositions soon outgrow the fixed-size editing event.
  SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
  if (SDL_InitSubSystem(kInitFlags) != 0) {
    throw std::runtime_error(std::string("SDL could not start the display: ") + SDL_GetError());
  }
  initFlags_ = kInitFlags;

  window_ = SDL_CreateWindow("Kavrona", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth, kScreenHeight,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    throw std::runtime_error(std::string("SDL could not create the window: ") + SDL_GetError());
  }
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (renderer_ == nullptr) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (renderer_ == nullptr) {
    throw std::runtime_error(std::string("SDL could not create a renderer: ") + SDL_GetError());
  }
  // Scales the frame to the window with the aspect kept; the rest is black bars. On a
  // high-density display the renderer works in the display's own pixels.
  SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
  if (texture_ == nullptr) {
    throw std::runtime_error(std::string("SDL could not create the frame texture: ") + SDL_GetError());
  }
  SDL_AddEventWatch(&SdlPlatform::WatchEvent, this);
  watching_ = true;
  // SDL starts with text input on; the game's keys must not go to an input method until a
  // text field asks for it.
  SDL_StopTextInput();
}

void SdlPlatform::ShowMainWindow() {
  if (window_ == nullptr) {
    return;
  }
  const bool firstShow = (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) != 0 && !IsFullScreen();
  // Where the client area was asked to go; a hidden window reports just that.
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window_, &left, &top);
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  if (firstShow) {
    PlaceFramedWindow(left, top);
  }
  Repaint();
}

void SdlPlatform::PlaceFramedWindow(int left, int top) {
  // An X11 window manager puts the frame, not the client area, where a window not yet mapped
  // asked to be, since SDL cannot allow for a frame it has not seen. Once the frame is known,
  // SDL's moves place the client area, as every later move (leaving full screen, say) does.
  constexpr Uint64 kFrameWaitMs = 100;
  const Uint64 deadline = SDL_GetTicks64() + kFrameWaitMs;
  int frameTop = 0;
  int frameLeft = 0;
  int frameBottom = 0;
  int frameRight = 0;
  for (;;) {
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window_, &frameTop, &frameLeft, &frameBottom, &frameRight) != 0) {
      // No frames on this video driver.
      return;
    }
    if (frameTop != 0 || frameLeft != 0 || frameBottom != 0 || frameRight != 0 || SDL_GetTicks64() >= deadline) {
      break;
    }
    SDL_Delay(1);
  }
  int shownLeft = 0;
  int shownTop = 0;
  SDL_GetWindowPosition(window_, &shownLeft, &shownTop);
  if (shownLeft != left || shownTop != top) {
    SDL_SetWindowPosition(window_, left, top);
    SDL_PumpEvents();
  }
}

void SdlPlatform::Present(const uint32_t* frame) {
  lastFrame_.assign(frame, frame + kFramePixels);
  Repaint();
}

void SdlPlatform::Repaint() {
  if (renderer_ == nullptr) {
    return;
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
  SDL_RenderClear(renderer_);
  if (!lastFrame_.empty()) {
    // Uploaded every time: a lost render device takes the texture's pixels with it.
    SDL_UpdateTexture(texture_, nullptr, lastFrame_.data(), kScreenWidth * sizeof(uint32_t));
    scaler_.Draw(renderer_, texture_);
  }
  SDL_RenderPresent(renderer_);
}

void SdlPlatform::Settle() {
  // Window managers apply a mode change asynchronously; let SDL see the answer so that a
  // following move or resize is not overridden by it.
  SDL_PumpEvents();
  SDL_Delay(1);
  SDL_PumpEvents();
}

void SdlPlatform::SetFullScreen(bool on) {
  if (window_ == nullptr || on == IsFullScreen()) {
    return;
  }
  SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (!on) {
    Settle();
  }
  Repaint();
}

bool SdlPlatform::IsFullScreen() {
  return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

WindowRect SdlPlatform::GetWindowRect() {
  if (window_ == nullptr) {
    return {};
  }
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  SDL_GetWindowPosition(window_, &left, &top);
  SDL_GetWindowSize(window_, &width, &height);
  return {.Left = left, .Top = top, .Width = width, .Height = height};
}

void SdlPlatform::SetWindowRect(const WindowRect& rect) {
  if (window_ == nullptr) {
    return;
  }
  if (rect.Width > 0 && rect.Height > 0) {
    SDL_SetWindowSize(window_, rect.Width, rect.Height);
  }
  SDL_SetWindowPosition(window_, rect.Left, rect.Top);
  Repaint();
}

WindowRect SdlPlatform::DesktopRect() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return {.Width = kScreenWidth, .Height = kScreenHeight};
  }
  int display = window_ != nullptr ? SDL_GetWindowDisplayIndex(window_) : 0;
  if (display < 0) {
    display = 0;
  }
  SDL_Rect bounds;
  if (SDL_GetDisplayUsableBounds(display, &bounds) != 0) {
    return {.Width = kScreenWidth, .Height = kScreenHeight};
  }
  return {.Left = bounds.x, .Top = bounds.y, .Width = bounds.w, .Height = bounds.h};
}

void SdlPlatform::WaitForEvent(int32_t timeoutMs) {
  if (window_ == nullptr) {
    return;
  }
  // Without an event to fill, SDL only waits and leaves the queue as it is.
  SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlPlatform::FrameToWindow(int x, int y, int& windowX, int& windowY) const {
  windowX = x;
  windowY = y;
  if (renderer_ != nullptr) {
    SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &windowX, &windowY);
  }
}

void SdlPlatform::SetPointerOver(const PointerShape* shape, const WindowRect& area) {
  if (window_ == nullptr) {
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
            const uint32_t c = shape->pixels[static_cast<size_t>(y * shape->width + x)];
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
  SDL_RenderWindowToLogical(renderer_, windowX, windowY, &frameX, &frameY);
  UpdatePointer(static_cast<int>(frameX), static_cast<int>(frameY));
}

void SdlPlatform::UpdatePointer(int frameX, int frameY) {
  const WindowRect& a = pointerArea_;
  const bool over = shapedCursor_ != nullptr && frameX >= a.Left && frameY >= a.Top && frameX < a.Left + a.Width &&
                    frameY < a.Top + a.Height;
  if (over != pointerShaped_) {
    SDL_SetCursor(over ? shapedCursor_ : SDL_GetDefaultCursor());
    pointerShaped_ = over;
  }
}

void SdlPlatform::WarpMouse(int x, int y) {
  if (window_ == nullptr) {
    return;
  }
  x = std::clamp(x, 0, kScreenWidth - 1);
  y = std::clamp(y, 0, kScreenHeight - 1);
  // Aim at the middle of the frame pixel so that a scaled pixel maps back to the same one.
  int windowX = 0;
  int windowY = 0;
  SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, &windowX, &windowY);
  SDL_WarpMouseInWindow(window_, windowX, windowY);
}

const FilePlaces& SdlPlatform::Places() {
  if (!places_) {
    places_ = ChooseFilePlaces(
        ExecutableDir(), KAVRONA_SHARE_FROM_PROGRAM,
        [] {
          std::string dir;
          // No organisation: the directory is $XDG_DATA_HOME/kavrona/ (SDL makes it).
          if (char* pref = SDL_GetPrefPath("", "kavrona"); pref != nullptr) {
            dir = pref;
            SDL_free(pref);
          }
          return dir;
        },
        [](const std::string& dir) {
          std::error_code error;
          return std::filesystem::is_directory(dir + "data", error);
        },
        DirectoryWritable);
    SeedRecordFile(*places_);
  }
  return *places_;
}

std::string SdlPlatform::ProgramDir() { return Places().resourceDir; }
std::string SdlPlatform::RecordDir() { return Places().recordDir; }
bool SdlPlatform::RecordDirWritable() { return Places().recordsWritable; }

std::string SdlPlatform::ExecutableDir() {
  if (char* base = SDL_GetBasePath(); base != nullptr) {
    std::string dir = base;
    SDL_free(base);
    if (!dir.empty()) {
      return WithSlash(dir);
    }
  }
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && exe.has_parent_path()) {
    return WithSlash(exe.parent_path().string());
  }
  return "./";
}

bool SdlPlatform::AcquireSingleInstanceLock() {
  if (instanceLock_.Held()) {
    return true;
  }
  const std::string path = InstanceLock::DefaultLockPath();
  switch (instanceLock_.TryAcquire(path)) {
    case InstanceLock::Result::kAcquired:
      return true;
    case InstanceLock::Result::kHeldElsewhere:
      return false;
    case InstanceLock::Result::kUnavailable:
      break;
  }
  // Refusing to start because a lock file cannot be made would be worse than two copies.
  std::fprintf(stderr, "Kavrona: cannot open %s; not checking for another running copy\n", path.c_str());
  return true;
}

void SdlPlatform::SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) {
  if (window_ == nullptr || width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return;
  }
  // The pixels have no alpha; the surface's format says every pixel is opaque.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels.data()), width, height, 32,
                                                         width * 4, SDL_PIXELFORMAT_RGB888);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

void SdlPlatform::ShowFatalMessage(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  if (!MessageBoxPossible()) {
    return;
  }
  // A box behind a full-screen window would leave the player looking at a frozen game.
  if (IsFullScreen()) {
    SDL_SetWindowFullscreen(window_, 0);
  }
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window_);
}

}  // namespace kav
