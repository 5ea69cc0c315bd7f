// The window paints from a palette while a worker maps with it: both ask for the nearest
// entry at once, right after the colors changed, so the index is built while both ask.
// Run under ThreadSanitizer (./build.sh tsan) this proves the lazy build is guarded.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "palette/floss_palette.h"

namespace {

TColor Color(uint32_t i) {
  return MakeColor(uint8_t(i * 37), uint8_t(i * 91 + 7), uint8_t(i * 13 + 50));
}

TEST(NearestClrThreads, TwoThreadsAgreeWithTheLinearSearchAfterEveryChange) {
  TpunPal palette;
  std::vector<TColor> colors;
  for (uint32_t i = 0; i < 40; ++i) {
    palette.AddClr(Color(i), "c" + std::to_string(i));
    colors.push_back(Color(i));
  }
  std::vector<TColor> probes;
  for (uint32_t i = 0; i < 2000; ++i) probes.push_back(TColor(i * 8387 + 12345) & 0xFFFFFF);

  for (int round = 0; round < 20; ++round) {
    // A change of colors: the next lookup rebuilds the index.
    palette.PutClr(round % 40, Color(uint32_t(round) * 101 + 3));
    colors[size_t(round % 40)] = Color(uint32_t(round) * 101 + 3);
    std::atomic<int> ready = 0;
    std::vector<int32_t> singles(probes.size()), batch(probes.size());
    auto both_ready = [&] {
      for (++ready; ready.load() < 2;) std::this_thread::yield();
    };
    std::thread worker([&] {
      both_ready();
      palette.NearestClrs(probes.data(), probes.size(), batch.data());
    });
    both_ready();
    for (size_t i = 0; i < probes.size(); ++i) singles[i] = palette.NearestClr(probes[i]);
    worker.join();
    for (size_t i = 0; i < probes.size(); ++i) {
      ASSERT_EQ(singles[i], LinearNearest(colors, probes[i])) << "round " << round;
      ASSERT_EQ(batch[i], singles[i]) << "round " << round;
    }
  }
}

}  // namespace
