// What the two conversations with an outside engine share — the
// computer's play and the record analysis: how long it may be silent, how
// it is told the game it is to play, and how its faults are worded for the
// player: its name, what went wrong, and how things go on.
#pragma once

#include <optional>
#include <string>

#include "engine/usi_client.h"
#include "ui/flow/game.h"
#include "ui/flow/ports.h"

namespace nirvex {

// The title of the messages about the outside engine.
inline constexpr const char* engine_message_title = "外部エンジン";

// How long an engine may take to introduce itself or to get ready.
inline constexpr int engine_greeting_ms = 10000;
// How much longer than its think time it may take to answer.
inline constexpr int engine_answer_grace_ms = 10000;

// The message of a fault: "外部エンジン「name」" (its program when it gave
// no name), what went wrong, and on the next line how things go on.
std::string engine_fault_text(const EngineIdentity& identity, const std::string& program,
                              const std::string& what, const std::string& next);

// What went wrong, as it follows the engine's name.
std::string fault_cannot_start(const std::string& reason);
std::string fault_plays_no_variant();
std::string fault_refused_move(const std::string& move);
inline constexpr const char* fault_ended_midway = "が途中で終了しました。";
// The deadline of this phase passed without the answer.
std::string fault_silent(EnginePhase phase);

// The engine said "usiok": it is told the variant and, when asked for and
// offered, a skill level, then "isready" within the greeting's deadline.
// False, with nothing sent, when it does not play this game.
bool tell_engine_the_game(EngineProcess& process, const EngineIdentity& identity,
                          std::optional<int> skill);

// A line without its line end and trailing blanks.
std::string trimmed_line(std::string line);

}  // namespace nirvex
