#include "record/record_text.h"

#include "record/plain_file.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace nirvex::record {

namespace {

// Windows' Shift_JIS, the code page record files have always been in.
constexpr const char* cp932 = "windows-31j";

QString from_std(const std::string& s) { return QString::fromStdString(s); }

// A character a Japanese record is expected to hold: ASCII, Japanese
// punctuation and symbols, kana, kanji, full- and half-width forms.
bool japanese_text_char(char16_t c) {
  return c < 0x80 || (c >= 0x2000 && c <= 0x206F) || (c >= 0x2190 && c <= 0x26FF) ||
         (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3200 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// UTF-8 or CP932?  Bytes that are not valid UTF-8 are CP932, and valid
// UTF-8 is UTF-8, with one exception: bytes that are valid CP932 as well
// and read as UTF-8 give characters no Japanese record would hold are
// CP932.  Half-width katakana pairs such as "ﾃｽ" (C3 BD, "½" in UTF-8) are
// such bytes.  (The writer checks that what it writes reads back the same.)
bool take_as_utf8(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return true;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  // Decoding is lazy: only the conversion to QString runs the decoder.
  const QString as_utf8 = utf8.decode(bytes);
  if (utf8.hasError()) return false;
  const bool plausible = std::all_of(as_utf8.begin(), as_utf8.end(), [](QChar c) {
    return japanese_text_char(c.unicode()) || c.isSurrogate();
  });
  if (plausible) return true;
  QStringDecoder cp(cp932, QStringConverter::Flag::Stateless);
  const QString as_cp932 = cp.decode(bytes);
  return cp.hasError();
}

// What a file far too large to be a record is told.
constexpr const char* too_large_text = "ファイルが大きすぎます（棋譜ﾌｧｲﾙではありません）";

}  // namespace

bool read_record_bytes(const QByteArray& bytes, LoadedRecord& out,
                       RecordFault& fault) {
  if (bytes.size() > max_file_bytes) {
    fault = {0, too_large_text};
    return false;
  }
  if (bytes.isEmpty()) {
    fault = {0, "ファイルが空です"};
    return false;
  }

  // The whole file decides the encoding; lines are then decoded one by one
  // so that a fault can name its line.  0x0A is never part of a CP932
  // double-byte character, so splitting the bytes first is safe.
  const bool utf8 = take_as_utf8(bytes);

  QList<QByteArray> raw = bytes.split('\n');
  if (bytes.endsWith('\n')) raw.removeLast();
  std::vector<std::string> lines;
  lines.reserve(raw.size());
  for (qsizetype i = 0; i < raw.size(); ++i) {
    QByteArray line = raw[i];
    if (line.endsWith('\r')) line.chop(1);
    QStringDecoder decoder = utf8 ? QStringDecoder(QStringDecoder::Utf8,
                                                   QStringConverter::Flag::Stateless)
                                  : QStringDecoder(cp932, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(line);
    if (decoder.hasError()) {
      fault = {static_cast<int>(i) + 1,
               "文字コードが読めません（UTF-8でもShift_JISでもありません）"};
      return false;
    }
    std::string utf8_line = text.toStdString();
    if (!plain_text_line(utf8_line)) {
      fault = {static_cast<int>(i) + 1, "制御文字が含まれています（文字の棋譜ﾌｧｲﾙではありません）"};
      return false;
    }
    lines.push_back(std::move(utf8_line));
  }
  return parse_record_lines(lines, out, fault);
}

bool load_record_file(const QString& path, LoadedRecord& out, QString& error) {
  // Only a plain file of sane size is read at all: a folder, a device or
  // a pipe that merely carries the extension is refused without waiting.
  QByteArray bytes;
  PlainReadFault why = PlainReadFault::none;
  if (!read_plain_file(path, max_file_bytes, bytes, &why, &error)) {
    if (why == PlainReadFault::not_plain) error = QStringLiteral("通常のファイルではありません");
    if (why == PlainReadFault::too_large) error = from_std(describe({0, too_large_text}));
    return false;
  }
  RecordFault fault;
  if (!read_record_bytes(bytes, out, fault)) {
    error = from_std(describe(fault));
    return false;
  }
  return true;
}

bool encode_record_file(const RecordHeader& header, const MoveRecord* moves,
                        int count, QByteArray& bytes, QString& error) {
  std::string text, why;
  if (!compose_record(header, moves, count, text, why)) {
    error = from_std(why);
    return false;
  }
  const std::string* names[3] = {&header.game_name, &header.upper_name,
                                 &header.lower_name};
  const char* labels[3] = {"対局名", "上側の対局者名", "下側の対局者名"};
  for (int i = 0; i < 3; ++i) {
    QStringEncoder probe(cp932, QStringConverter::Flag::Stateless);
    const QByteArray encoded = probe.encode(from_std(*names[i]));
    if (probe.hasError()) {
      error = QString::fromUtf8(labels[i]) +
              QStringLiteral("にShift_JISで書けない文字があります");
      return false;
    }
  }
  QStringEncoder encoder(cp932, QStringConverter::Flag::Stateless);
  QByteArray encoded = encoder.encode(from_std(text));
  if (encoder.hasError()) {
    error = QStringLiteral("Shift_JISで書けない文字があります");
    return false;
  }
  // Nothing is written that would not read back as it was meant: a record
  // whose moves do not replay, or names whose bytes would read differently.
  LoadedRecord back;
  RecordFault fault;
  if (!read_record_bytes(encoded, back, fault)) {
    error = from_std(describe(fault));
    return false;
  }
  if (back.header.game_name != header.game_name ||
      back.header.upper_name != header.upper_name ||
      back.header.lower_name != header.lower_name) {
    error = QStringLiteral("対局名・対局者名が正しく読み戻せない文字の並びです。名前を変えて下さい");
    return false;
  }
  bytes = std::move(encoded);
  return true;
}

bool file_name_acceptable(const QString& name, QString& error) {
  if (name == QStringLiteral(".") || name == QStringLiteral("..")) {
    error = QStringLiteral("ファイル名「%1」は使えません").arg(name);
    return false;
  }
  for (const QChar c : name) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\')) {
      error = QStringLiteral("ファイル名に使えない文字「%1」が含まれています").arg(c);
      return false;
    }
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
      error = QStringLiteral("ファイル名に制御文字が含まれています");
      return false;
    }
  }
  return true;
}

}  // namespace nirvex::record
