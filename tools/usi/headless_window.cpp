#include "tools/usi/headless_window.h"

#include <chrono>
#include <ctime>

namespace nirvex {

MsgAnswer HeadlessWindow::message(const std::string& text, const std::string& title,
                                  MsgButtons buttons, MsgIcon) {
  if (on_message) on_message(text, title);
  return buttons == MsgButtons::yes_no ? MsgAnswer::yes : MsgAnswer::ok;
}

double HeadlessWindow::now() {
  return fixed_time_of_day >= 0 ? fixed_time_of_day : seconds_since_midnight();
}

// The real date; the time of day is the clock's, fixed or not.
LocalDateTime HeadlessWindow::date_time() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  const int seconds = static_cast<int>(now()) % 86400;
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          seconds / 3600, seconds / 60 % 60, seconds % 60};
}

bool HeadlessWindow::checked(std::string_view item) const {
  const auto it = marks_.find(item);
  return it != marks_.end() && it->second;
}

void HeadlessWindow::set_checked(std::string_view item, bool on) {
  marks_.insert_or_assign(std::string(item), on);
}

double seconds_since_midnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto since_second = now - std::chrono::system_clock::from_time_t(t);
  return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec +
         std::chrono::duration<double>(since_second).count();
}

}  // namespace nirvex
