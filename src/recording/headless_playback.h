#pragma once

#include <string>

namespace kav::recording {

// kavrona-headless --play: the recording played in virtual time on the headless platform (the
// program directory `dir` gives the pictures), the trace to `tracePath` when given, the results
// on standard output. Returns 0 in step, 2 for a bad file, 6 when the playback departed.
int PlayHeadless(const std::string& recordingPath, const std::string& dir, const std::string& tracePath);

}  // namespace kav::recording
