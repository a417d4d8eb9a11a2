#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "art.h"

// The sound files' container: RIFF/WAVE holding 16-bit little-endian PCM.
namespace kav::artgen {

// The whole file: a 44-byte header (RIFF, fmt, data) and the samples.
std::vector<uint8_t> EncodeWav(const Clip& clip);

// Reads 16-bit PCM WAV, skipping chunks it does not need. Nothing for any other format or a file
// cut short. The clip's name and description stay empty; loops is false (WAV does not say).
std::optional<Clip> DecodeWav(const std::vector<uint8_t>& bytes);
std::optional<Clip> ReadWav(const std::filesystem::path& path);

}  // namespace kav::artgen
