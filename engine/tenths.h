// A score of the computer's judgement kept as a whole number of tenths.
// Every term is a multiple of 0.1 (the fractions 0.1, 0.5 and 0.6 occur),
// and a binary fraction holds none of them exactly: added as they come,
// terms that cancel could leave a residue such as -2.8e-17, and such a
// residue could decide between two candidates that the terms make equal.
// Whole tenths add up exactly, in any order.
#pragma once

#include <cmath>

namespace nirvex {

class Tenths {
 public:
  // Adds or takes away one term, a multiple of 0.1.
  Tenths& operator+=(double term) {
    tenths_ += std::llround(term * 10);
    return *this;
  }
  Tenths& operator-=(double term) {
    tenths_ -= std::llround(term * 10);
    return *this;
  }
  // The sum as the number nearest to its decimal value (0.1 as 0.1 is
  // read), so that equal sums are equal numbers.
  double value() const { return static_cast<double>(tenths_) / 10; }

 private:
  long long tenths_ = 0;
};

}  // namespace nirvex
