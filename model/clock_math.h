// Clock arithmetic of the turn timer: durations as "hh:mm:ss" and time
// spans measured on a seconds-since-midnight clock.
#pragma once

#include <string>

namespace nirvex {

constexpr double seconds_per_day = 86400.0;

// Seconds from `start` to `now`, both seconds since midnight; a span that
// crosses midnight is measured into the next day.
double seconds_between(double start, double now);

// "hh:mm:ss" of a number of seconds, fractions dropped.  Hours beyond 99
// give an empty hour field.
std::string format_duration(double seconds);

// "07" for 7, "42" for 42, and empty text for anything wider.
std::string two_digits(long long n);

}  // namespace nirvex
