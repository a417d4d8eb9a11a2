#include "base/shortest_double.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace kav {
namespace {

std::string ToChars(double d) {
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, d);
  return {buffer, r.ptr};
}

// The web build's formatter must write every double exactly as the native one does, or the two
// runners' traces part.
TEST(ShortestDouble, WritesWhatToCharsWrites) {
  const double edges[] = {0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          0.1,
                          0.5,
                          1e-4,
                          1e-5,
                          123456.0,
                          1e15,
                          1e16,
                          1e17,
                          1e21,
                          1e22,
                          1.5e-7,
                          2.5e300,
                          5e-324,
                          1.0 / 3,
                          100.0,
                          0.016,
                          -3.75,
                          64.0,
                          1e100,
                          9.8e-3,
                          12345678901234567890.0,
                          std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::min()};
  for (const double d : edges) EXPECT_EQ(ShortestDouble(d), ToChars(d)) << ToChars(d);
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> game(-1000, 1000);
  for (int i = 0; i < 20000; ++i) {
    const double near = game(random);
    ASSERT_EQ(ShortestDouble(near), ToChars(near));
    const double anyBits = std::bit_cast<double>(random());
    if (std::isfinite(anyBits)) {
      ASSERT_EQ(ShortestDouble(anyBits), ToChars(anyBits));
    }
  }
}

TEST(ShortestDouble, ParsesOnlyWholeNumbersInRange) {
  double d = 0;
  EXPECT_TRUE(ParseDouble("-12.5e1", d));
  EXPECT_EQ(d, -125.0);
  EXPECT_TRUE(ParseDouble(ShortestDouble(0.1 + 0.2), d));
  EXPECT_EQ(d, 0.1 + 0.2);
  EXPECT_FALSE(ParseDouble("", d));
  EXPECT_FALSE(ParseDouble("1.5x", d));
  EXPECT_FALSE(ParseDouble(" 1", d));
  EXPECT_FALSE(ParseDouble("+1", d));
  EXPECT_FALSE(ParseDouble("1e400", d));
}

}  // namespace
}  // namespace kav
