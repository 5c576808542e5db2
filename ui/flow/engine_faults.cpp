#include "ui/flow/engine_faults.h"

#include <algorithm>

namespace nirvex {

std::string engine_fault_text(const EngineIdentity& identity, const std::string& program,
                              const std::string& what, const std::string& next) {
  const std::string name = identity.name.empty() ? program : identity.name;
  return "外部エンジン「" + name + "」" + what + "\n" + next;
}

std::string fault_cannot_start(const std::string& reason) { return "を起動できません。\n" + reason; }

std::string fault_plays_no_variant() {
  return std::string("はこの将棋（") + usi_variant + "）を指せません。";
}

std::string fault_refused_move(const std::string& move) {
  return "の指し手「" + move + "」はこの将棋の規則で指せません。";
}

std::string fault_silent(EnginePhase phase) {
  switch (phase) {
    case EnginePhase::greeting:
      return "が応答しません（usi に usiok がありません）。";
    case EnginePhase::readying:
      return "が応答しません（isready に readyok がありません）。";
    default:
      return "が時間内に指しませんでした。";
  }
}

bool tell_engine_the_game(EngineProcess& process, const EngineIdentity& identity,
                          std::optional<int> skill) {
  process.set_deadline(0);
  if (!identity.plays_variant) return false;
  process.send(std::string("setoption name UCI_Variant value ") + usi_variant);
  if (skill && identity.offers_skill) {
    const int level = std::clamp(*skill, identity.skill_min, identity.skill_max);
    process.send("setoption name Skill Level value " + std::to_string(level));
  }
  process.send("isready");
  process.set_deadline(engine_greeting_ms);
  return true;
}

std::string trimmed_line(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' '))
    line.pop_back();
  return line;
}

}  // namespace nirvex
