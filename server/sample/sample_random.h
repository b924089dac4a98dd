// The sample market's own random numbers: splitmix64 with arithmetic-only
// derived draws, so the same seed gives the same market on every compiler,
// standard library and libm.
#pragma once

#include <cstdint>
#include <string_view>

namespace orbe::sample {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  // A separate, stable stream per generator, so that changing one
  // generator's draws never shifts another's output.
  static Random Stream(std::uint64_t seed, std::string_view name) {
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return Random(seed ^ hash);
  }

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // [0, 1) with 53 random bits.
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Uniform(double low, double high) { return low + (high - low) * Uniform(); }

  // [low, high], both included.
  std::int64_t Between(std::int64_t low, std::int64_t high) {
    const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<std::int64_t>(Next() % span);
  }

  bool Chance(double probability) { return Uniform() < probability; }

  // Approximately normal (sum of twelve uniforms), bounded to +-6 sigma,
  // which suits prices and growth rates better than unbounded tails.
  double Normal(double mean, double sigma) {
    double sum = 0;
    for (int i = 0; i < 12; ++i) sum += Uniform();
    return mean + sigma * (sum - 6.0);
  }

  // A size spread over orders of magnitude: mantissa 1..10 times 10^[low, high].
  double Magnitude(int low_exponent, int high_exponent) {
    double value = Uniform(1.0, 10.0);
    for (std::int64_t e = Between(low_exponent, high_exponent); e > 0; --e) value *= 10.0;
    return value;
  }

  template <typename Container>
  const auto& Pick(const Container& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<std::int64_t>(std::size(items)) - 1))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace orbe::sample
