// The console's game mode keeps its games with "setoption name AutoSave":
// one file for a game that ends, one cut off by the next "newgame", one
// cut off by "quit", each read back through the record reader.
#include <gtest/gtest.h>

#include <iconv.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "engine/move_list.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "record/record_file.h"
#include "tools/usi/console_game.h"
#include "tools/usi/usi_session.h"
#include "tests/engine/support/console_lines.h"

namespace nirvex {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> say(UsiSession& s, const std::string& line) { return console_lines(s, line); }

// A folder of its own for each test, gone afterwards.
class ConsoleAutosave : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("nirvex-autosave-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // The record files in a folder, by name.
  std::vector<std::string> files_in(const fs::path& folder) const {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
};

// A file's Shift_JIS bytes as UTF-8 lines, read by the record reader.
record::LoadedRecord read_back(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::string text(bytes.size() * 3 + 16, '\0');
  char* src = bytes.data();
  size_t src_left = bytes.size();
  char* dst = text.data();
  size_t dst_left = text.size();
  EXPECT_NE(iconv(cd, &src, &src_left, &dst, &dst_left), static_cast<size_t>(-1));
  iconv_close(cd);
  text.resize(text.size() - dst_left);
  std::vector<std::string> lines;
  std::istringstream lines_in(text);
  for (std::string l; std::getline(lines_in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  record::LoadedRecord out;
  record::RecordFault fault;
  EXPECT_TRUE(record::parse_record_lines(lines, out, fault)) << record::describe(fault);
  return out;
}

TEST_F(ConsoleAutosave, CutOffByNewgameAndByQuitEachLeaveOneFile) {
  const fs::path folder = root_ / "kept";
  UsiSession s;
  say(s, "setoption name TimeOfDay value 36000");
  EXPECT_TRUE(say(s, "setoption name AutoSave value " + folder.string()).empty());
  say(s, "newgame sente");
  say(s, "play 6e6d");
  const GameState first = s.console_game()->game().g;
  say(s, "newgame gote");
  say(s, "play 6e6d");
  const int second_moves = s.console_game()->game().g.record_len;
  EXPECT_TRUE(say(s, "quit").empty());
  const std::vector<std::string> names = files_in(folder);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_TRUE(names[0].ends_with("_10-00-00.棋譜")) << names[0];
  EXPECT_TRUE(names[1].ends_with("_10-00-00_2.棋譜")) << names[1];
  const record::LoadedRecord a = read_back(folder / names[0]);
  EXPECT_EQ(a.header.upper_name, "LEVEL3");
  EXPECT_EQ(a.header.lower_name, "あなた");
  ASSERT_EQ(static_cast<int>(a.moves.size()), first.record_len);
  for (int i = 0; i < first.record_len; ++i)
    EXPECT_EQ(static_cast<const Move&>(a.moves[i]), first.move_records[i + 1]);
  EXPECT_EQ(static_cast<int>(read_back(folder / names[1]).moves.size()), second_moves);
}

TEST_F(ConsoleAutosave, AGameThatEndsLeavesOneFileAndEmptyTurnsItOff) {
  const fs::path folder = root_ / "kept";
  int ended = 0;
  for (std::uint32_t seed = 1; seed <= 4 && ended == 0; ++seed) {
    UsiSession s;
    say(s, "setoption name AutoSave value " + folder.string());
    say(s, "setoption name Level value 1");
    say(s, "newgame sente");
    std::mt19937 rng(seed);
    bool over = false;
    for (int ply = 0; ply < 150 && !over; ++ply) {
      GameState g = s.console_game()->game().g;
      mark_pawn_columns(g);
      const std::vector<RuleMove> moves = list_rule_moves(g, false);
      const auto m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
      for (const std::string& line : say(s, "play " + move_text(m)))
        over |= line.starts_with("info string winner ");
    }
    if (!over) {
      say(s, "setoption name AutoSave value <empty>");
      say(s, "quit");  // kept nowhere now
      continue;
    }
    ++ended;
    const size_t after_the_end = files_in(folder).size();
    EXPECT_EQ(after_the_end, 1u);
    say(s, "quit");  // no game left open: nothing more
    EXPECT_EQ(files_in(folder).size(), after_the_end);
  }
  EXPECT_EQ(ended, 1);

  // Off until set, and off again with <empty>.
  const fs::path other = root_ / "other";
  UsiSession off;
  say(off, "newgame sente");
  say(off, "play 6e6d");
  say(off, "setoption name AutoSave value " + other.string());
  say(off, "setoption name AutoSave value <empty>");
  say(off, "quit");
  EXPECT_FALSE(fs::exists(other));
}

}  // namespace
}  // namespace nirvex
