#include "settings/settings_file.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nirvex {

namespace {

struct BackgroundName {
  const char* name;
  int id;
};
// The order in which the written line looks for the checked item.
constexpr BackgroundName background_names[] = {
    {"緑", 2}, {"竹", 4}, {"畳", 3}, {"宇宙", 5}, {"煉瓦", 6}};

// The keys of the lines after the four, for the outside engine.
const QString engine_key = QStringLiteral("外部エンジン");
const QString engine_time_key = QStringLiteral("外部エンジン思考時間");
const QString engine_skill_key = QStringLiteral("外部エンジン棋力");
const QString opponent_key = QStringLiteral("COM対局");
const QString opponent_engine = QStringLiteral("外部エンジン");
const QString opponent_level = QStringLiteral("LEVEL");

// The keys of the player's additions under "ｵﾌﾟｼｮﾝ", named as their items.
const QString move_list_key = QStringLiteral("棋譜表示");
const QString last_move_tint_key = QStringLiteral("最終手強調");
const QString ask_promotion_key = QStringLiteral("成/不成を確認");

// The think times a file may hold, in milliseconds.
constexpr int min_move_time_ms = 100;
constexpr int max_move_time_ms = 60000;

// Takes a line about the outside engine; other keys are ignored.
void read_engine_line(const QString& key, const QString& value, SettingsRead& r) {
  bool number = false;
  const int n = value.toInt(&number);
  if (key == engine_key) {
    r.engine_program = value.toStdString();
  } else if (key == engine_time_key) {
    if (number && n >= min_move_time_ms && n <= max_move_time_ms) r.engine_move_time_ms = n;
  } else if (key == engine_skill_key) {
    if (number) r.engine_skill = n;
  } else if (key == opponent_key) {
    r.engine_plays = value == opponent_engine;
  }
}

}  // namespace

QString decode_settings_text(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  QStringDecoder sjis("CP932");
  if (!sjis.isValid()) return text;
  return sjis.decode(bytes);
}

SettingsRead parse_settings(const QByteArray& bytes) {
  SettingsRead r;
  QString text = decode_settings_text(bytes);
  if (!text.isEmpty() && text.front() == QChar(0xFEFF)) text.remove(0, 1);
  QStringList lines = text.split(QLatin1Char('\n'));
  // The last line ends with a line break; nothing follows it.
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (QString line : lines) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return SettingsRead{};  // cannot be split: the file is broken
    const QString key = line.left(eq);
    const QString value = line.mid(eq + 1);
    if (key == QStringLiteral("背景画")) {
      for (const BackgroundName& b : background_names)
        if (value == QString::fromUtf8(b.name)) r.background = b.id;
    } else if (key == QStringLiteral("移動指導")) {
      r.guidance = value == QStringLiteral("ON");
    } else if (key == QStringLiteral("経過時間")) {
      r.elapsed_time = value == QStringLiteral("ON");
    } else if (key == QStringLiteral("BGM")) {
      r.music = value == QStringLiteral("ON");
    } else if (key == move_list_key) {
      r.move_list = value == QStringLiteral("ON");
    } else if (key == last_move_tint_key) {
      r.last_move_tint = value == QStringLiteral("ON");
    } else if (key == ask_promotion_key) {
      r.ask_promotion = value == QStringLiteral("ON");
    } else {
      read_engine_line(key, value, r);
    }
  }
  r.ok = true;
  return r;
}

QStringList settings_lines(const SettingsValues& v) {
  QStringList lines;
  if (v.background) {
    for (const BackgroundName& b : background_names)
      if (*v.background == b.id) {
        lines << QStringLiteral("背景画=") + QString::fromUtf8(b.name);
        break;
      }
  }
  const auto on_off = [](bool on) { return on ? QStringLiteral("ON") : QStringLiteral("OFF"); };
  lines << QStringLiteral("移動指導=") + on_off(v.guidance);
  lines << QStringLiteral("経過時間=") + on_off(v.elapsed_time);
  lines << QStringLiteral("BGM=") + on_off(v.music);
  // The player's additions, each only while it departs from its default,
  // so that a file of the defaults stays the four lines.
  const ViewChoices d;
  const auto choice = [&](const QString& key, bool on, bool by_default) {
    if (on != by_default) lines << key + QStringLiteral("=") + on_off(on);
  };
  choice(move_list_key, v.view.move_list, d.move_list);
  choice(last_move_tint_key, v.view.last_move_tint, d.last_move_tint);
  choice(ask_promotion_key, v.view.ask_promotion, d.ask_promotion);
  // The outside engine, once one was chosen, on lines of its own after
  // the four.
  const EngineSettings& e = v.engine;
  if (!e.program.empty() || e.plays) {
    lines << engine_key + QStringLiteral("=") + QString::fromStdString(e.program);
    lines << engine_time_key + QStringLiteral("=") + QString::number(e.move_time_ms);
    if (e.skill) lines << engine_skill_key + QStringLiteral("=") + QString::number(*e.skill);
    lines << opponent_key + QStringLiteral("=") + (e.plays ? opponent_engine : opponent_level);
  }
  return lines;
}

QByteArray encode_settings(const QStringList& lines) {
  QByteArray out;
  for (const QString& line : lines) {
    QStringEncoder sjis("CP932");
    const QByteArray bytes = sjis.isValid() ? QByteArray(sjis.encode(line)) : line.toUtf8();
    // A line Shift_JIS cannot hold (an engine's path, say) would come back
    // as another text; it is left out rather than written wrong.
    if (sjis.hasError()) continue;
    out += bytes + "\r\n";
  }
  return out;
}

}  // namespace nirvex
