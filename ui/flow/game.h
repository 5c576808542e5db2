// The game object of the flow: the one GameState with the analysis maps
// and the computer's turn state, the sound buffers, and the window and
// other surroundings it works through.  Every flow procedure takes it
// first; none keeps state of its own.
#pragma once

#include <string>
#include <vector>

#include "engine/analysis.h"
#include "engine/computer_state.h"
#include "engine/usi_client.h"
#include "model/game_state.h"
#include "settings/settings_values.h"
#include "ui/flow/analysis_results.h"
#include "ui/flow/form.h"
#include "ui/flow/ports.h"

namespace nirvex {

// Where a conversation with an outside engine stands.  off: no process;
// greeting: "usi" sent; readying: "isready" sent; idle: ready; thinking:
// "go" sent; stopping: "stop" sent, its last bestmove is not wanted.
enum class EnginePhase { off, greeting, readying, idle, thinking, stopping };

// An outside engine as the computer's player, and where its conversation
// stands.
struct OutsideEngine {
  EngineSettings choice;  // program, think time, skill; plays or not
  using Phase = EnginePhase;
  Phase phase = Phase::off;
  // What the engine is asked for: the computer's move, or a hint.
  enum class Errand { none, move, hint };
  Errand errand = Errand::none;
  EngineIdentity identity;
  // "usinewgame" was said for this game.
  bool new_game_said = false;
  // The position "position sfen" starts from: the game's start, or the
  // position a game was continued from, at this record position.
  bool base_set = false;
  std::string base_sfen;
  int base_pos = 0;
};

// The analysis in the game object: its conversation with its own engine
// process, the moves it goes through, and what it found so far.
struct RecordAnalysis {
  enum class Status { none, running, finished, cancelled, failed };
  Status status = Status::none;
  EnginePhase phase = EnginePhase::off;  // off, greeting, readying, thinking
  AnalysisLimit limit;
  std::string program;
  EngineIdentity identity;

  // The record's moves, and the position the engine looks at now.
  std::vector<MoveRecord> record;
  GameState position;
  // What the engine is handed: a position as SFEN and the moves since; no
  // move engines may refuse (engine_refuses_move) is ever among them.
  bool chain_set = false;
  std::string chain_sfen;
  std::vector<std::string> chain_moves;
  // The last score of the search in hand.
  EngineInfo latest;
  bool latest_exact = false;

  std::string start_sfen;  // the record's first position
  double started_at = 0;   // seconds since midnight
  double last_done_at = 0; // when the engine last finished a position
  std::string fault;      // the message a fault ended it with
  AnalysisResults results;
  int run = 0;             // counts the analyses started
};

// What the analysis view was last told: which analysis, whether it ran,
// how many positions it had judged, whether they fitted the record.
struct AnalysisTold {
  int run = 0;
  bool running = false;
  size_t positions = 0;
  bool fits = false;
  bool operator==(const AnalysisTold&) const = default;
};

struct Game {
  GameState g;
  Analysis analysis;        // square maps and the computer's position tests
  ComputerState computer;   // the computer's turn: root copies, best move

  // Where the game paints, asks, plays and keeps its files.
  Form* form = nullptr;
  SoundPort* sound = nullptr;
  SettingsStore* settings = nullptr;
  RecordStore* records = nullptr;
  EngineProcess* engine_process = nullptr;  // none: no outside engine here
  // The record analysis's own engine process; none: no analysis here.
  EngineProcess* analysis_process = nullptr;
  MoveListView* move_list = nullptr;        // none: no list beside the board
  AnalysisView* analysis_view = nullptr;    // none: the analysis is not shown

  OutsideEngine engine;
  RecordAnalysis record_analysis;
  // Cells framed by the last hint, cleared at the next click.
  std::vector<std::pair<int, int>> hint_cells;
  // Cells of the last move's tint: its origin square or hand slot and its
  // destination.  Empty when no move is marked.
  std::vector<std::pair<int, int>> tinted_cells;

  // What the move list was last told: its rows and the position in them.
  std::vector<MoveListRow> listed_rows;
  int listed_position = -1;
  // What the analysis view was last told.
  AnalysisTold analysis_told;

  // A press that picked a piece: where, and with which button.  Released
  // on another cell, it is the second click of the move.
  struct Press {
    bool picked = false;
    int col = 0, row = 0;
    int button = 0;
  };
  Press press;

  // Every game is kept in this folder when it ends (empty: nowhere).
  std::string autosave_folder;
  // The record holds moves played since it was last kept or loaded.
  bool record_unsaved = false;
  // A failure to keep a game was told to the player once already.
  bool autosave_failure_told = false;

  // The sound device and the four buffers (0 = none).
  int sound_device = 0;
  int snd_other = 0, snd_forbidden = 0, snd_piece = 0, snd_bgm = 0;
  bool sounds_released = false;
  bool program_ended = false;

  // The folder the program started in (the manual lies there).
  std::string start_dir;
  // Texts are bold from the first time the labels are drawn.
  bool text_bold = false;
  // The position on the board was pasted, not played: like a flipped
  // one it cannot be saved.
  bool position_pasted = false;

  // For whoever watches the game from outside (the console tool): how
  // many moves took the road, what the computer's last turn chose and
  // whether it could be played, and its candidates when asked for.
  int moves_played = 0;
  int com_turns = 0;
  ComMove last_com_move;
  bool last_com_played = false;
  bool last_com_by_engine = false;
  bool keep_candidates = false;
  std::vector<ComCandidate> candidates;
};

// Shows a message box with an OK button.
inline void message(Game& game, const std::string& text, const std::string& title) {
  game.form->message(text, title, MsgButtons::ok, MsgIcon::none);
}

// Asks a Yes/No question.
inline MsgAnswer ask(Game& game, const std::string& text, const std::string& title) {
  return game.form->message(text, title, MsgButtons::yes_no, MsgIcon::none);
}

// Plays a sound buffer once.
inline void play(Game& game, int buffer) { game.sound->dsPlay(buffer); }

// The time of day in seconds since midnight.
inline double now(Game& game) { return game.form->now(); }

// Does the menu item carry its check mark?
inline bool checked(const Game& game, std::string_view item) { return game.form->checked(item); }

// Shows the back buffer on screen now.
inline void refresh(Game& game) { game.form->refresh(); }

}  // namespace nirvex
