#pragma once
// What the fuzz targets share: their inputs as files, silence, and a loud stop on a fault.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/message_seam.h"

// Messages a reader shows for a damaged file are expected: they are not printed.
class SilentMessages : public MessageSeam {
 public:
  void Error(const std::string&) override {}
  void Info(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
};

// A file name of this process's own for one role of a target ("in.bmp", "out.ini").
inline std::string FuzzFile(const char* target, const char* role) {
  return "/tmp/puntel-" + std::string(target) + "-" + std::to_string(getpid()) + "-" + role;
}

inline void WriteFuzzInput(const std::string& name, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) std::abort();
  if (size && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

// Stops the run, naming what failed: libFuzzer then keeps the input that did it.
inline void FuzzCheck(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}
