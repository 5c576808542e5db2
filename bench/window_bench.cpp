// What the player waits for between a click or a clock second and the
// window showing it: the real window on the offscreen platform, at two
// window sizes, against a bare Qt window of the same size doing the same.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

#include "tests/ui/fakes.h"
#include "ui/board_view.h"
#include "ui/flow/clocks.h"
#include "ui/main_window.h"
#include "ui/window_picture.h"

namespace nirvex {
namespace {

using testing::FakeBrowser;
using testing::FakeClock;
using testing::FakeDialogs;
using testing::FakeSound;

// A two-player game in progress in a window of the given size, started in
// a scratch folder with the default settings (the clocks shown).
class RunningGame {
 public:
  RunningGame(int width, int height) {
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
    window->menu_item(QStringLiteral("START"))->trigger();
    QApplication::processEvents();
  }
  ~RunningGame() {
    window.reset();
    QDir::setCurrent(old_dir_);
  }

  // Presses and releases the left button over the middle of a cell.
  void click(int col, int row) {
    const QPointF twips(board_left + (col + 0.5) * cell_width,
                        board_top + (row + 0.5) * cell_height);
    BoardView* view = window->board_view();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->from_twips(twips).toPoint());
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
  const qint64 before = game.window->board_view()->picture().pixels_redone();
  bool rook = false;
  for (auto _ : state) {
    rook = !rook;
    game.click(rook ? 6 : 5, 6);
  }
  state.counters["redone"] = benchmark::Counter(
      double(game.window->board_view()->picture().pixels_redone() - before),
      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClickRepaint)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// One second on the lower side's clock: its strip painted anew and shown.
void BM_ClockTick(benchmark::State& state) {
  RunningGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const qint64 before = game.window->board_view()->picture().pixels_redone();
  for (auto _ : state) {
    game.clock.time += 1;
    Timer1_Timer(game.window->game);
  }
  state.counters["redone"] = benchmark::Counter(
      double(game.window->board_view()->picture().pixels_redone() - before),
      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClockTick)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// A window made anew at its size: the whole picture scaled once.
void BM_ResizeRepaint(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  RunningGame game(w, h);
  bool wider = false;
  for (auto _ : state) {
    wider = !wider;
    game.window->resize(w + (wider ? 1 : 0), h);
    game.window->board_view()->repaint();
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
  for (auto _ : state) picture.rebuild(canvas, size, QPointF(0, 0), scale);
}
BENCHMARK(BM_WholePicture)
    ->Args({1300, 850})
    ->Args({3000, 2000})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The bare Qt window: a widget that fills itself, repainted on each click.
class BareWidget : public QWidget {
 protected:
  void mousePressEvent(QMouseEvent*) override { repaint(); }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x008000));
  }
};

void BM_BareWindowClick(benchmark::State& state) {
  BareWidget widget;
  widget.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  widget.show();
  QApplication::processEvents();
  for (auto _ : state) QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
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
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
