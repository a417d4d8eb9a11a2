#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "art.h"

// Usage: soundgen PROGRAM_DIR       writes kavrona_w01.wav .. kavrona_w12.wav there
//        soundgen --docs FILE.md    writes the table of the sounds
namespace {

using kav::artgen::Clip;

double Db(double level) {
  return level > 0 ? 20 * std::log10(level) : -120.0;
}

struct Levels {
  double peakDb = 0;
  double rmsDb = 0;
  double loudestDb = 0;  // the loudest 50 ms, nearer to what the ear goes by for short sounds
};

Levels Measure(const Clip& clip) {
  const std::vector<int16_t>& s = clip.samples;
  double peak = 0, sum = 0;
  for (const int16_t v : s) {
    peak = std::max(peak, std::abs(v / 32768.0));
    sum += (v / 32768.0) * (v / 32768.0);
  }
  const size_t window = std::min(s.size(), static_cast<size_t>(clip.sampleRate * clip.channels / 20));
  double run = 0, loudest = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    run += (s[i] / 32768.0) * (s[i] / 32768.0);
    if (i >= window) run -= (s[i - window] / 32768.0) * (s[i - window] / 32768.0);
    if (i + 1 >= window) loudest = std::max(loudest, run);
  }
  return {Db(peak), Db(std::sqrt(sum / static_cast<double>(s.size()))), Db(std::sqrt(loudest / window))};
}

bool WriteDocs(const std::filesystem::path& path, const std::vector<Clip>& clips) {
  std::string md =
      "# Sounds\n\n"
      "The twelve sound effects are synthesised by `tools/artgen/sounds.cpp` and written by the build beside\n"
      "the game as `kavrona_w01.wav` .. `kavrona_w12.wav`: 16-bit PCM WAV, mono, 44100 Hz. Every generator\n"
      "has a fixed seed, so each build writes the same bytes. The game loads slot N from `kavrona_wNN.wav`.\n\n"
      "Levels are in dB relative to full scale. RMS is over the whole clip; \"loudest 50 ms\" is the RMS of\n"
      "its loudest 50 ms, which is closer to how loud a short sound seems. The loops repeat without a seam:\n"
      "their length is a whole number of engine beats and they begin at a quiet zero crossing.\n\n"
      "| Slot | File | What it is | Length | Rate | Peak dBFS | RMS dBFS | Loudest 50 ms dBFS | Loops |\n"
      "|---:|---|---|---:|---:|---:|---:|---:|---|\n";
  int slot = 1;
  for (const Clip& clip : clips) {
    const Levels l = Measure(clip);
    const double seconds = static_cast<double>(clip.samples.size()) / (clip.sampleRate * clip.channels);
    char row[512];
    std::snprintf(row, sizeof row, "| %d | `%s` | %s | %.0f ms | %d Hz | %.1f | %.1f | %.1f | %s |\n", slot++,
                  clip.name.c_str(), clip.about.c_str(), seconds * 1000, clip.sampleRate, l.peakDb, l.rmsDb,
                  l.loudestDb, clip.loops ? "yes" : "no");
    md += row;
  }
  md +=
      "\nSlots 3, 4 and 5 are loaded but never played. Regenerate this page with\n"
      "`build/release/tool-bin/soundgen --docs docs/sounds.md`.\n";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << md;
  file.close();
  if (!file) std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Clip> clips = kav::artgen::MakeSounds();
  if (argc == 3 && std::string(argv[1]) == "--docs") return WriteDocs(argv[2], clips) ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PROGRAM_DIR | --docs FILE.md\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  bool ok = true;
  for (const Clip& clip : clips) ok = kav::artgen::WriteWav(out / clip.name, clip) && ok;
  return ok ? 0 : 1;
}
