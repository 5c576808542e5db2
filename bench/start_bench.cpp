// What a start costs: the game and the bare window, each a program of its
// own (nirvex_game_start, nirvex_bare_window, beside this one), from the
// start of the process to its first full frame, the memory it holds then,
// and how often it wakes while it sits idle.  The two are started by
// turns; the figures are the medians of five rounds.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace nirvex::bench {
namespace {

constexpr int rounds = 5;

// One start as measured from outside.
struct StartFigures {
  double frame_ms = 0;
  double rss_mib = 0;
  double anon_mib = 0;
  double wakeups = 0;
};

// Starts `program` (beside this one) in `folder` and reads its figures.
bool measure_start(const char* program, int width, int height, const QString& folder,
                   StartFigures& out) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  posix_spawn_file_actions_addchdir_np(&actions, QFile::encodeName(folder).constData());
  const std::string path =
      QFile::encodeName(QDir(QCoreApplication::applicationDirPath()).filePath(program))
          .toStdString();
  const std::string w = std::to_string(width), h = std::to_string(height);
  std::vector<char*> args = {const_cast<char*>(path.c_str()), const_cast<char*>(w.c_str()),
                             const_cast<char*>(h.c_str()), nullptr};
  pid_t pid = 0;
  const auto started = std::chrono::steady_clock::now();
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (spawned != 0) {
    close(pipe_fds[0]);
    return false;
  }
  std::FILE* from_child = fdopen(pipe_fds[0], "r");
  char line[256];
  bool ok = std::fgets(line, sizeof line, from_child) && std::strcmp(line, "shown\n") == 0;
  out.frame_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                           started).count();
  long rss = 0, anon = 0, wakeups = 0;
  ok = ok && std::fgets(line, sizeof line, from_child) &&
       std::sscanf(line, "%ld %ld %ld", &rss, &anon, &wakeups) == 3;
  std::fclose(from_child);
  int status = 0;
  waitpid(pid, &status, 0);
  out.rss_mib = rss / 1024.0;
  out.anon_mib = anon / 1024.0;
  out.wakeups = static_cast<double>(wakeups);
  return ok;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// A scratch folder with the game's four waves and settings with the
// music off, as a player who turned it off starts the game.
bool prepare_folder(const QTemporaryDir& dir) {
  const QDir waves(QCoreApplication::applicationDirPath());
  for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"}) {
    const QString n = QString::fromUtf8(name);
    if (!QFile::copy(waves.filePath(n), dir.filePath(n))) return false;
  }
  QFile ini(dir.filePath(QStringLiteral("Nirvex将棋.ini")));
  if (!ini.open(QIODevice::WriteOnly)) return false;
  ini.write("\x94\x77\x8c\x69\x89\xe6=\x97\xce\r\n"  // 背景画=緑 in Shift_JIS
            "\x88\xda\x93\xae\x8e\x77\x93\xb1=OFF\r\n"  // 移動指導
            "\x8c\x6f\x89\xdf\x8e\x9e\x8a\xd4=OFF\r\n"  // 経過時間
            "BGM=OFF\r\n");
  return true;
}

// Start to the first full frame, resident memory (and its anonymous part)
// and idle wakeups a second: the game beside the bare window, the two
// started by turns, medians of five rounds.
void BM_Start(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  QTemporaryDir dir;
  if (!prepare_folder(dir)) {
    state.SkipWithError("no scratch folder with the waves");
    return;
  }
  for (auto _ : state) {
    std::vector<double> figures[2][4];
    for (int round = 0; round < rounds; ++round)
      for (int kind = 0; kind < 2; ++kind) {
        StartFigures f;
        if (!measure_start(kind == 0 ? "nirvex_bare_window" : "nirvex_game_start", w, h,
                           dir.path(), f)) {
          state.SkipWithError("a child did not report");
          return;
        }
        const double values[4] = {f.frame_ms, f.rss_mib, f.anon_mib, f.wakeups};
        for (int i = 0; i < 4; ++i) figures[kind][i].push_back(values[i]);
      }
    const char* names[4] = {"frame_ms", "rss_MiB", "anon_MiB", "wakeups"};
    for (int i = 0; i < 4; ++i) {
      const double bare = median(figures[0][i]), game = median(figures[1][i]);
      state.counters[std::string("bare_") + names[i]] = bare;
      state.counters[std::string("game_") + names[i]] = game;
      if (i < 2) state.counters[std::string("ratio_") + names[i]] = game / bare;
    }
    state.SetIterationTime(median(figures[1][0]) / 1000.0);
  }
}
BENCHMARK(BM_Start)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nirvex::bench
