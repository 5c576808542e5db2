// "棋譜解析": the window's part of the record analysis — an engine that
// plays this game, the time per position, the side panel shown — before
// the flow runs it on the window's second engine process.
#include <QFileInfo>

#include "engine/usi_client.h"
#include "ui/analysis_dialog.h"
#include "ui/engine_process.h"
#include "ui/flow/preferences.h"
#include "ui/main_window.h"

namespace nirvex {

namespace {

constexpr const char* analysis_title = "棋譜解析";

}  // namespace

void MainWindow::KIFU_KAISEKI_Click() {
  if (g.record_len < 1) {
    message("解析する指し手がありません。", analysis_title, MsgButtons::ok, MsgIcon::none);
    return;
  }
  const QString engine = analysis_engine();
  if (engine.isEmpty()) return;
  AnalysisDialog dialog(analysis_limit_, engine, this);
  if (platform_.show_modal)
    platform_.show_modal(&dialog);
  else
    dialog.exec();
  if (dialog.result() != QDialog::Accepted) return;
  analysis_limit_ = dialog.limit();
  // The results are shown beside the board, so the list comes out.
  if (!checked("KIFU_HYOUJI")) KIFU_HYOUJI_Click(game);
  if (start_record_analysis(game, analysis_limit_) == AnalysisStart::no_moves)
    message("解析する指し手がありません。", analysis_title, MsgButtons::ok, MsgIcon::none);
}

QString MainWindow::analysis_engine() {
  for (bool chosen_now = false;; chosen_now = true) {
    const QString program = QString::fromStdString(game.engine.choice.program);
    EngineIdentity identity;
    QString error;
    QString why;
    if (program.isEmpty()) {
      why = QStringLiteral("外部エンジンが選ばれていません。");
    } else if (!probe_engine(program, identity, error)) {
      why = QStringLiteral("外部エンジン「%1」が使えません：%2").arg(program, error);
    } else if (!identity.plays_variant) {
      why = QStringLiteral("%1 はこの将棋（%2）を指せません。")
                .arg(QString::fromStdString(identity.name), QLatin1String(usi_variant));
    } else {
      return identity.name.empty() ? QFileInfo(program).fileName()
                                   : QString::fromStdString(identity.name);
    }
    // The dialog takes only an engine that plays this game; one that has
    // gone since is not asked for twice.
    if (chosen_now) return {};
    message((why + QStringLiteral("\n棋譜解析には、この将棋を指せるエンジンが要ります。\n"
                                  "「外部エンジン…」で選んでください。"))
                .toStdString(),
            analysis_title, MsgButtons::ok, MsgIcon::none);
    if (!choose_engine_in_dialog(false)) return {};
  }
}

}  // namespace nirvex
