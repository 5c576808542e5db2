// What the player waits for between a click or a clock second and the
// window showing it, and what a step of resizing the window costs: the
// real window at two window sizes, against a bare Qt window of the same
// size doing the same (bench/bare_window.h).  The offscreen platform
// unless QT_QPA_PLATFORM says otherwise (xcb under Xvfb is nearer a
// desktop).  The start and the memory: bench/start_bench.cpp.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

#include "bench/bare_window.h"
#include "tests/ui/fakes.h"
#include "ui/board_view.h"
#include "ui/flow/clocks.h"
#include "ui/flow/start_commands.h"
#include "ui/main_window.h"
#include "ui/window_picture.h"

namespace nirvex {
namespace {

using testing::FakeBrowser;
using testing::FakeClock;
using testing::FakeDialogs;
using testing::FakeSound;
using bench::BareWindow;

// Step `step` of a walk from 0 up to `length` and back down, over and over.
int there_and_back(int step, int length) {
  return step % (2 * length) < length ? step % length : length - step % length;
}

// A two-player game in progress in a window of the given size, started in
// a scratch folder with the default settings (the clocks and the move list
// shown), or with the move list hidden.
class RunningGame {
 public:
  RunningGame(int width, int height, bool move_list = true) {
    old_dir_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    platform_.dialogs = &dialogs_;
    platform_.clock = &clock;
    platform_.sound = &sound_;
    platform_.browser = &browser_;
    platform_.end_program = [] {};
    window = std::make_unique<MainWindow>(platform_);
    window->show();
    window->Form_Load();
    window->resize(width, height);
    QApplication::processEvents();
    if (!move_list) window->menu_item(QStringLiteral("KIFU_HYOUJI"))->trigger();
    window->menu_item(QStringLiteral("START"))->trigger();
    // The layout the list left, then the sharp picture made for the
    // window's size.
    QApplication::processEvents();
    if (!QTest::qWaitFor([this] { return !window->board_view()->resizing(); })) return;
    QApplication::processEvents();
  }
  ~RunningGame() {
    window.reset();
    QDir::setCurrent(old_dir_);
  }

  // Presses and releases the left button over the middle of a cell.
  void click(int col, int row) {
    QTest::mouseClick(window->board_view(), Qt::LeftButton, Qt::NoModifier, middle_of(col, row));
  }
  // The middle of a cell on the board view.
  QPoint middle_of(int col, int row) const {
    const QPointF twips(board_left + (col + 0.5) * cell_width,
                        board_top + (row + 0.5) * cell_height);
    return window->board_view()->from_twips(twips).toPoint();
  }

  FakeClock clock;
  std::unique_ptr<MainWindow> window;

 private:
  QTemporaryDir dir_;
  QString old_dir_;
  FakeDialogs dialogs_;
  FakeSound sound_;
  FakeBrowser browser_;
  Platform platform_;
};

// A click that picks the lower rook, the next the lower bishop beside it,
// and so on: the frame of the one picked before cleared, the guidance
// frames cleared, the new one framed and shown.
void BM_ClickRepaint(benchmark::State& state) {
  RunningGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const qint64 before = game.window->board_view()->pixels_redone();
  bool rook = false;
  for (auto _ : state) {
    rook = !rook;
    game.click(rook ? 6 : 5, 6);
  }
  state.counters["redone"] = benchmark::Counter(
      double(game.window->board_view()->pixels_redone() - before),
      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClickRepaint)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// A click that makes a move in a two-player game (the click that picked
// the piece is not timed): the golds step forward and back by turns, and
// a fresh game begins before the record fills.
void BM_MoveClick(benchmark::State& state) {
  RunningGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                   state.range(2) != 0);
  const int moves[4][4] = {{2, 6, 2, 5}, {5, 1, 5, 2}, {2, 5, 2, 6}, {5, 2, 5, 1}};
  const BoardView* view = game.window->board_view();
  qint64 redone = 0;
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (n % 4 == 0 && game.window->g.record_len > 400) {
      new_game(game.window->game);
      START_Click(game.window->game);
    }
    const int* m = moves[n++ % 4];
    game.click(m[0], m[1]);
    const qint64 before = view->pixels_redone();
    state.ResumeTiming();
    game.click(m[2], m[3]);
    redone += view->pixels_redone() - before;
  }
  state.counters["redone"] =
      benchmark::Counter(double(redone), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MoveClick)
    ->Args({1300, 850, 1})
    ->Args({3000, 2000, 1})
    ->Args({1300, 850, 0})  // the move list hidden: what the list's repaint costs
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// One second on the lower side's clock: its strip painted anew and shown.
void BM_ClockTick(benchmark::State& state) {
  RunningGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const qint64 before = game.window->board_view()->pixels_redone();
  for (auto _ : state) {
    game.clock.time += 1;
    Timer1_Timer(game.window->game);
  }
  state.counters["redone"] = benchmark::Counter(
      double(game.window->board_view()->pixels_redone() - before),
      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClockTick)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// A step of a drag: the lower gold carried three pixels further under the
// pointer, and the board where it was shown again.
void BM_DragStep(benchmark::State& state) {
  RunningGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  BoardView* view = game.window->board_view();
  const QPoint from = game.middle_of(2, 6);
  QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
  const auto* carried = game.window->findChild<QWidget*>(QStringLiteral("DragPiece"));
  int step = 0;
  for (auto _ : state) {
    ++step;
    const int d = 3 * there_and_back(step, 32);
    const QPointF at(from + QPoint(d, -d));
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QApplication::processEvents();
    if (step == 8 && !(carried && carried->isVisible())) {
      state.SkipWithError("the piece is not carried");
      break;
    }
  }
  QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, from);
}
BENCHMARK(BM_DragStep)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

// Steps of an interactive resize, a few pixels apart, out and back: the
// window's new size shown at each.
void resize_steps(benchmark::State& state, QWidget& window, QSize base) {
  int step = 0;
  for (auto _ : state) {
    ++step;
    const int d = 4 * there_and_back(step, 16);
    window.resize(base + QSize(d, d));
    QApplication::processEvents();
  }
}

// One step of an interactive resize.  The processor's time of the whole
// process, helpers included.
void BM_ResizeStep(benchmark::State& state) {
  const QSize base(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  RunningGame game(base.width(), base.height(), state.range(2) != 0);
  resize_steps(state, *game.window, base);
}
BENCHMARK(BM_ResizeStep)
    ->Args({1300, 850, 1})
    ->Args({3000, 2000, 1})
    ->Args({1300, 850, 0})  // the move list hidden
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

// The same steps for the bare window.
void BM_BareWindowResizeStep(benchmark::State& state) {
  const QSize base(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  BareWindow window;
  window.resize(base);
  window.show();
  QApplication::processEvents();
  resize_steps(state, window, base);
}
BENCHMARK(BM_BareWindowResizeStep)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

// A resize settling: the whole sharp picture computed into the window
// and shown (the size's change and its quick picture not timed).
void BM_ResizeRepaint(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  RunningGame game(w, h);
  bool wider = false;
  for (auto _ : state) {
    state.PauseTiming();
    wider = !wider;
    game.window->resize(w + (wider ? 1 : 0), h);
    QApplication::processEvents();
    state.ResumeTiming();
    game.window->board_view()->show_sharp_now();
  }
}
BENCHMARK(BM_ResizeRepaint)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The window's picture made whole from the back buffer, without the window.
void BM_WholePicture(benchmark::State& state) {
  Canvas canvas;
  WindowPicture picture;
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const double scale = std::min(size.width() / double(canvas.image().width()),
                                size.height() / double(canvas.image().height()));
  picture.place(canvas, size, QPointF(0, 0), scale);
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) picture.paint(canvas, image.rect(), PixelRows::of(image));
}
BENCHMARK(BM_WholePicture)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The bare window's click: its whole picture repainted.
void BM_BareWindowClick(benchmark::State& state) {
  BareWindow window;
  window.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  window.show();
  QApplication::processEvents();
  for (auto _ : state)
    QTest::mouseClick(window.picture_widget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}
BENCHMARK(BM_BareWindowClick)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The offscreen platform's notes about size hints say nothing here.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtWarningMsg || !text.contains(QLatin1String("propagateSizeHints")))
    fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace
}  // namespace nirvex

int main(int argc, char** argv) {
  qInstallMessageHandler(nirvex::quiet);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
