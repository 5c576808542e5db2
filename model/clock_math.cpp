#include "model/clock_math.h"

#include <cmath>

namespace nirvex {

double seconds_between(double start, double now) {
  if (start <= now) return now - start;
  return now + seconds_per_day - start;
}

std::string two_digits(long long n) {
  if (n >= 0 && n <= 9) return "0" + std::to_string(n);
  if (n >= 10 && n <= 99) return std::to_string(n);
  return "";
}

std::string format_duration(double seconds) {
  double s = seconds;
  double h = 0;
  if (s >= 3600) {
    h = std::floor(s / 3600);
    s -= 3600 * h;
  }
  const double m = std::floor(s / 60);
  const double r = s - 60 * m;
  return two_digits(static_cast<long long>(std::floor(h))) + ":" +
         two_digits(static_cast<long long>(std::floor(m))) + ":" +
         two_digits(static_cast<long long>(std::floor(r)));
}

}  // namespace nirvex
