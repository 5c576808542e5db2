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
  return lines;
}

QByteArray encode_settings(const QStringList& lines) {
  QStringEncoder sjis("CP932");
  QByteArray out;
  for (const QString& line : lines) {
    out += sjis.isValid() ? QByteArray(sjis.encode(line)) : line.toUtf8();
    out += "\r\n";
  }
  return out;
}

}  // namespace nirvex
