#include "tools/usi/console_records.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace nirvex {

namespace {

namespace fs = std::filesystem;

constexpr const char* record_extension = ".棋譜";

// Writes the bytes beside the file and renames them into place, so that a
// failed write leaves no half file.
bool write_whole(const fs::path& path, const std::string& bytes, std::string& error) {
  fs::path temporary = path;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.flush();
    if (!out) {
      error = std::strerror(errno ? errno : EIO);
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (!ec) return true;
  error = ec.message();
  fs::remove(temporary, ec);
  return false;
}

}  // namespace

bool to_shift_jis(const std::string& utf8, std::string& out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = utf8;
  std::string result(in.size() * 2 + 16, '\0');
  char* src = in.data();
  size_t src_left = in.size();
  char* dst = result.data();
  size_t dst_left = result.size();
  const size_t done = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1) || src_left != 0) return false;
  result.resize(result.size() - dst_left);
  out = result;
  return true;
}

bool ConsoleRecords::load(const std::string&, record::LoadedRecord&, std::string& error) {
  error = "no record files are read here";
  return false;
}

bool ConsoleRecords::save(const std::string& folder, const std::string& name,
                          const record::RecordHeader& header, const MoveRecord* moves, int count,
                          std::string& error) {
  if (!record::record_replays(moves, count, error)) return false;
  std::string text, bytes;
  if (!record::compose_record(header, moves, count, text, error)) return false;
  if (!to_shift_jis(text, bytes)) {
    error = "Shift_JISで書けない文字があります";
    return false;
  }
  return write_whole(fs::path(folder) / (name + record_extension), bytes, error);
}

bool ConsoleRecords::make_folder(const std::string& folder, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  fs::create_directories(folder, ec);
  if (!ec && fs::is_directory(folder, ec)) return true;
  error = ec ? ec.message() : std::strerror(ENOTDIR);
  return false;
}

std::vector<std::string> ConsoleRecords::record_names(const std::string& folder) {
  std::vector<std::string> names;
  const std::string extension = record_extension;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (it->is_regular_file(ec) && file.size() > extension.size() && file.ends_with(extension))
      names.push_back(file.substr(0, file.size() - extension.size()));
  }
  return names;
}

bool ConsoleRecords::remove(const std::string& folder, const std::string& name) {
  std::error_code ec;
  return fs::remove(fs::path(folder) / (name + record_extension), ec);
}

}  // namespace nirvex
