#pragma once

#include <string>

namespace kav {

// kavrona --play: the recording shown in the game's window at the pace it was played, with its
// sound; the watcher's keys do nothing and closing the window ends the playback. Returns 0 at
// the end or on a close, 2 for a bad file, 6 when the playback departed from the recording.
int WatchRecording(const std::string& recordingPath, const std::string& tracePath);

}  // namespace kav
