// Writes PCM WAV files the way the game reads them: "fmt " directly followed by "data", nothing else.
#pragma once

#include <string>
#include <vector>

// Samples in -1..1, interleaved when channels is 2, written as signed 16-bit. False when the file cannot be
// written.
bool writeWav16(const std::string& path, const std::vector<double>& samples, int channels, int rate);
