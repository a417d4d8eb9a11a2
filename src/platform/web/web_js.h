#pragma once

// The page's side of the browser platform, in kavrona_web.js. Rectangles are four ints (left,
// top, width, height); strings are UTF-8.
#include <cstddef>
#include <cstdint>

extern "C" {
void kav_web_init();
double kav_web_now();
// Work between the game's waits: keeps the record file's copy in IndexedDB up to date.
void kav_web_idle();

// The frame as RGBA bytes, 800 x 600.
void kav_web_present(const uint32_t* rgba);
void kav_web_set_fullscreen(int on);
int kav_web_is_fullscreen();
void kav_web_canvas_rect(int32_t* rect);
void kav_web_desktop_rect(int32_t* rect);
void kav_web_set_icon(const uint32_t* pixels, int width, int height);

// The next queued event as "kind x y vk mods text", malloc'd, or null when none is queued.
char* kav_web_next_event();
int kav_web_event_pending();
int kav_web_key_down(int vk);
void kav_web_set_pointer(const uint32_t* pixels, int width, int height, int hotX, int hotY, uint32_t key,
                         const int32_t* area);
void kav_web_text_start(const int32_t* caret);
void kav_web_text_stop();

int kav_web_audio_open();
int kav_web_audio_load(int slot, const float* left, const float* right, int frames, int rate);
void kav_web_audio_play(int slot, int loop);
void kav_web_audio_stop(int slot);
void kav_web_audio_gains(int slot, double left, double right);
void kav_web_audio_close();

// 0: no pad; 1: a pad; 2: a pad with rumble motors.
int kav_web_pad_open();
// axes x, y (-32768..32767, the d-pad as their extremes) and buttons 1 and 2.
int kav_web_pad_read(int32_t* state);
void kav_web_pad_rumble(double large, double small, int ms);
void kav_web_pad_close();

int kav_web_font_line_height(int face, int pixelHeight);
// The advance of each code point of text into advances (one int each).
void kav_web_font_advances(int face, int pixelHeight, const char* text, int32_t* advances, int count);
// Ink coverage of the text drawn at the given advances into a width x height image.
void kav_web_font_render(int face, int pixelHeight, const char* text, const int32_t* advances, int count, int width,
                         int height, uint8_t* coverage);

int kav_web_lock_held();
void kav_web_fatal(const char* title, const char* text);
void kav_web_trace(const char* line);
void kav_web_ended(int status);
}
