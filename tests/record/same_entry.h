// Record entries for the record tests: one built from its eleven values,
// and the check that an entry read back from a file holds the values that
// were written, the clocks as whole seconds.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "model/game_state.h"

namespace nirvex::testing {

// The entry of these eleven values, in the order of the file's columns.
inline MoveRecord mv(int fc, int fr, int tc, int tr, int after, int before, int captured,
                     double lb = 0, double la = 0, double ub = 0, double ua = 0) {
  MoveRecord m;
  m.from_col = fc;
  m.from_row = fr;
  m.to_col = tc;
  m.to_row = tr;
  m.piece_after = after;
  m.piece_before = before;
  m.captured = captured;
  m.lower_clock_before = lb;
  m.lower_clock_after = la;
  m.upper_clock_before = ub;
  m.upper_clock_after = ua;
  return m;
}

inline void expect_same_entry(const MoveRecord& written, const MoveRecord& read,
                              int where) {
  const MoveRecord& a = written;
  const MoveRecord& b = read;
  EXPECT_EQ(b.from_col, a.from_col) << where;
  EXPECT_EQ(b.from_row, a.from_row) << where;
  EXPECT_EQ(b.to_col, a.to_col) << where;
  EXPECT_EQ(b.to_row, a.to_row) << where;
  EXPECT_EQ(b.piece_after, a.piece_after) << where;
  EXPECT_EQ(b.piece_before, a.piece_before) << where;
  EXPECT_EQ(b.captured, a.captured) << where;
  EXPECT_EQ(b.lower_clock_before, std::floor(a.lower_clock_before)) << where;
  EXPECT_EQ(b.lower_clock_after, std::floor(a.lower_clock_after)) << where;
  EXPECT_EQ(b.upper_clock_before, std::floor(a.upper_clock_before)) << where;
  EXPECT_EQ(b.upper_clock_after, std::floor(a.upper_clock_after)) << where;
}

}  // namespace nirvex::testing
