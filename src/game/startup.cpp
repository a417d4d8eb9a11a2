#include "game/startup.h"

#include <cstdio>

#include "base/game_exit.h"
#include "devices/sound_bank.h"
#include "game/artwork.h"
#include "game/devices.h"
#include "game/dialogs.h"
#include "game/entry_name.h"
#include "game/key_wait.h"
#include "game/play_loop.h"
#include "game/shutdown.h"
#include "game/system_menu.h"
#include "game/title.h"
#include "gfx/sprite_shapes.h"
#include "platform/file_places.h"
#include "ui/text_conv.h"

namespace kav {
namespace {

constexpr int kNoticePathColumns = 48;
constexpr const char* kDefaultName = "ORVEL";

// The window exists but is not shown; the sprites wait off screen until a stage needs them.
void LoadMainForm(Game& g) {
  g.platform.display.CreateMainWindow();
  g.MainForm = true;
  LoadArtwork(g.screen, g.platform.files.ProgramDir());
  LoadWindowIcon(g.platform.display, g.platform.files.ProgramDir());
  Screen& s = g.screen;
  s.onClose = [&g] { ShutdownGame(g); };
  s[Pic::Picture1].OnClick = [&g] { Picture1_Click(g); };
  s[Pic::picP].Visible = true;
  s[Pic::picTim].Visible = true;
  s[Pic::Picture2].Visible = true;
  // The title cover lies over everything from the start; its fade puts it away.
  s[Pic::picTitle1].Visible = true;
  for (int i = kHeliPic; i <= kFinalePic; ++i) s[AnimePatten(i)].Park();
  for (Pic id : {Pic::TekiTama, Pic::TekiMen, Pic::Picture1, Pic::Picture4, Pic::picTotal}) s[id].Park();
}

// Said once, before the player sets anything that would be lost without a word.
void WarnRecordsNotKept(Game& g, const std::string& dir) {
  std::fprintf(stderr, "Kavrona: cannot write in %s; best times and settings will not be kept\n", dir.c_str());
  std::fflush(stderr);
  std::string caption = g.texts("注意");
  ShowDialog(g,
             g.texts("記録を保存できません;") + ShortenedPath(dir, kNoticePathColumns) +
                 g.texts(";;ベストタイムと設定は残りません"),
             caption, "Y", "!");
}

}  // namespace

void StartUp(Game& g) {
  if (!g.platform.files.AcquireSingleInstanceLock()) throw GameExit{0};
  LoadMainForm(g);

  g.DevicesReady = kFalse;
  g.FullScreenOn = 0;
  g.SoundSwitch = "ON";

  g.AppDir = WithTrailingSlash(g.platform.files.ProgramDir());
  const std::string recordDir = WithTrailingSlash(g.platform.files.RecordDir());
  g.RecordFilePath = recordDir + kRecordFileName;

  SetUpGraphics(g, g.screen, g.platform);
  SeedDefaultRecords(g, Today(g));
  g.StageSelectPlay = kFalse;

  // What a short or damaged record file cannot supply keeps the default name.
  g.PlayerName = kDefaultName;
  const bool firstRun = !FileExists(g.RecordFilePath);
  if (!firstRun) LoadRecords(g);
  // The dialogs are drawn in the game's window, so a saved full screen is taken before the
  // first of them: the player never sees the windowed picture.
  if (g.FullScreenOn == 1) {
    g.FullScreenOn = 0;
    ToggleFullScreen(g);
  }
  if (!g.platform.files.RecordDirWritable()) WarnRecordsNotKept(g, recordDir);
  EnterPlayerName(g, firstRun);

  g.DirectXRoot = true;
  g.DisplayObject = true;
  CreateSoundBank(Sounds(g), g.AppDir);

  ShapeSprites(g, g.screen);

  Control& picP = g.screen[Pic::picP];
  Blit(picP.Image, 0, 0, kScreenWidth, kScreenHeight, g.screen[Pic::picBack].Image, 0, 0);
  g.screen.Refresh();

  g.platform.display.ShowMainWindow();
  ShowTitle(g);

  g.DevicesReady = kTrue;
  g.screen.DoEvents();
}

void Main(Game& g) {
  StartUp(g);
  PlayRuns(g);
}

}  // namespace kav
