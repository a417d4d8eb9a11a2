#pragma once

namespace kav {

// The picture boxes of the main window, by their control names.
enum class Pic : int {
  picP,                                     // the display surface: the stage scene, which collisions read
  picBack,                                  // the backdrop scene that restores picP; never shown
  picTitle0,                                // the title logo, centred on the cover
  picTitle1,                                // the title cover over the whole window, which the fade draws on
  FontSrc,                                  // the parts sheet's artwork on its key colour; never shown
  picBuhin,                                 // the parts sheet built from it, figures on black; off-screen
  picMask,                                  // the parts sheet's mask, white on the key colour; off-screen
  picTim,                                   // the stage-clock strip, 13 digit cells
  Picture2,                                 // the magazine strip: "M=" and the cartridges left
  Picture3,                                 // the message window's glyph sheet; never shown
  Picture4,                                 // the message window, parked below the screen while unused
  picAnimePatten0,                          // the first sprite; picAnimePatten(i) by role below
  picAnimePatten10 = picAnimePatten0 + 10,  // the last sprite: the finale's picture
  TekiTama,                                 // the gunner's missile in stage 7
  TekiMen,                                  // the gunner on the stage-7 roof
  Picture1,                                 // the menu button; a click opens the system menu
  picTotal,                                 // cleared and shown at every run start
  imgIcon0,                                 // the first of the dialog's four icons, never shown alone
  imgIcon3 = imgIcon0 + 3,                  // the last of the four icons
  picCursor,                                // the pointer over the dialog
  frmDLG,                                   // the dialog window, above everything
  Count,                                    // how many there are, not a box
};

constexpr Pic AnimePatten(int i) {
  return static_cast<Pic>(static_cast<int>(Pic::picAnimePatten0) + i);
}
constexpr Pic ImgIcon(int i) {
  return static_cast<Pic>(static_cast<int>(Pic::imgIcon0) + i);
}

// The sprites by role: the index i of Heli.Pic(i) and AnimePatten(i). Index 1 has no artwork
// and is never shown; the finale's picture lies past the end of Heli.Pics.
inline constexpr int kHeliPic = 0;        // the helicopter's body
inline constexpr int kSmallBurstPic = 2;  // the first frame of an explosion
inline constexpr int kLargeBurstPic = 3;  // the second frame of an explosion
inline constexpr int kBulletPic = 4;      // the rifle's bullet in flight
inline constexpr int kCulpritPic = 5;     // the culprit, the rifle's target in stages 2 and 6
inline constexpr int kHostagePic = 6;     // the hostage on the roof in stage 4
inline constexpr int kLadderPic = 7;      // the rope ladder under the helicopter while the hostage is out
inline constexpr int kBoatPic = 8;        // the rescue boat with its landing deck
inline constexpr int kMarkerPic = 9;      // the red ring that marks a landing roof
inline constexpr int kFinalePic = 10;     // the picture that glides across the finale

}  // namespace kav
