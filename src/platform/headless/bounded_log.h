#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace kav {

// The headless logs keep their latest entries only: tests read a few calls back, while a
// runner or a benchmark that plays for hours must not grow with every present and sound.
inline constexpr size_t kHeadlessLogLimit = 1024;

// Appends an entry; a full log first drops all but its newest half, so that appending stays
// amortised constant time.
template <class T, class U>
void AppendBounded(std::vector<T>& log, U&& entry, size_t limit = kHeadlessLogLimit) {
  if (limit > 0 && log.size() >= limit) {
    log.erase(log.begin(), log.end() - static_cast<std::ptrdiff_t>(limit / 2));
  }
  log.emplace_back(std::forward<U>(entry));
}

}  // namespace kav
