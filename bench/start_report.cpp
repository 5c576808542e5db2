#include "bench/start_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace nirvex::bench {
namespace {

// Long enough for what a start leaves to do afterwards: the sound device
// goes to sleep when no sound has played for a second and a half.
constexpr int settle_ms = 2500;

// Notes the first exposure of a window; the event loop paints and shows
// the whole window while it hands that event on.
class FirstExpose : public QObject {
 public:
  bool seen = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Expose) seen = true;
    return false;
  }
};

// A number from a "Key:   value" line of a file under /proc.
long proc_field(const std::string& file, const std::string& key) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
  return -1;
}

// Times each thread of this process gave up or lost the processor so far.
std::map<std::string, long> context_switches() {
  std::map<std::string, long> out;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    const std::string status = task.path() / "status";
    out[task.path().filename()] = proc_field(status, "voluntary_ctxt_switches") +
                                  proc_field(status, "nonvoluntary_ctxt_switches");
  }
  return out;
}

// Wakeups of the threads alive at `after` since `before` (a thread begun
// meanwhile counts whole).
long wakeups_between(const std::map<std::string, long>& before,
                     const std::map<std::string, long>& after) {
  long total = 0;
  for (const auto& [tid, count] : after) {
    const auto was = before.find(tid);
    total += count - (was == before.end() ? 0 : was->second);
  }
  return total;
}

// Runs the event loop for `ms` milliseconds.
void run_for(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

void show_and_report(QWidget& window, int width, int height) {
  window.resize(width, height);
  window.winId();
  FirstExpose expose;
  window.windowHandle()->installEventFilter(&expose);
  window.show();
  while (!expose.seen) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  std::fputs("shown\n", stdout);
  std::fflush(stdout);
  run_for(settle_ms);
  const long rss = proc_field("/proc/self/status", "VmRSS");
  const long anon = proc_field("/proc/self/smaps_rollup", "Pss_Anon");
  const auto before = context_switches();
  run_for(1000);
  // The second's own timer wakes the loop once.
  const long wakeups = wakeups_between(before, context_switches()) - 1;
  std::printf("%ld %ld %ld\n", rss, anon, wakeups);
  std::fflush(stdout);
}

}  // namespace nirvex::bench
