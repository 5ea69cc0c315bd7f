#pragma once
// Splits an index range over the machine's cores for passes that treat every index alone
// (mapping colors, filtering pictures): small ranges stay on the calling thread, where a
// thread start would cost more than it saves.

#include <algorithm>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The most parts ParallelForParts splits a range into: one per core. Read once, because
// the count of online processors can change while the program runs, and buffers sized by
// one call are indexed by parts numbered after another.
inline size_t MaxParallelParts() {
  static const size_t parts = std::max(1u, std::thread::hardware_concurrency());
  return parts;
}

// Calls work(part, begin, end) on disjoint parts covering [0, count), concurrently when
// count is at least 2 * min_chunk; part < MaxParallelParts() numbers the parts, so each can
// keep its own accumulator. The calling thread does one part itself. Returns once every
// part is done; an exception from any part is rethrown here (the first one thrown wins).
inline void ParallelForParts(
    size_t count, size_t min_chunk,
    const std::function<void(size_t part, size_t begin, size_t end)>& work) {
  if (count == 0) return;
  min_chunk = std::max<size_t>(min_chunk, 1);
  const size_t parts =
      std::min(MaxParallelParts(), count / min_chunk);  // 2 or more: count >= 2 * min_chunk
  if (parts < 2) {
    work(0, 0, count);
    return;
  }

  std::mutex mutex;
  std::exception_ptr first_error;
  const auto run = [&](size_t part) {
    // Written so count * part cannot overflow.
    const auto bound = [&](size_t p) { return count / parts * p + std::min(p, count % parts); };
    try {
      work(part, bound(part), bound(part + 1));
    } catch (...) {
      std::lock_guard lock(mutex);
      if (!first_error) first_error = std::current_exception();
    }
  };

  std::vector<std::thread> threads;
  threads.reserve(parts - 1);
  size_t part = 1;
  try {
    for (; part < parts; ++part) threads.emplace_back(run, part);
  } catch (...) {
    // No more threads to be had: the parts left over run here instead.
  }
  run(0);
  for (; part < parts; ++part) run(part);
  for (std::thread& thread : threads) thread.join();
  if (first_error) std::rethrow_exception(first_error);
}

// ParallelForParts for work that needs no part number.
inline void ParallelFor(size_t count, size_t min_chunk,
                        const std::function<void(size_t begin, size_t end)>& work) {
  ParallelForParts(count, min_chunk, [&](size_t, size_t begin, size_t end) { work(begin, end); });
}
