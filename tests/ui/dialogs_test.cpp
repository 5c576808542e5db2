// The real message boxes, as the player meets them: Qt's own texts in
// Japanese, a blank title where the game gives none, and Esc answering Yes
// in both questions of the game.
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include "tests/ui/record_fixture.h"
#include "ui/qt_platform.h"
#include "ui/qt_translation.h"

namespace nirvex::testing {
namespace {

// What a message box showed while it was open.
struct SeenBox {
  QString text, title, window_title;
  QStringList buttons;  // as shown, without the mnemonic marks
};

// Watches for modal message boxes while the code under test waits in one,
// notes what each shows and closes it with a key, as a player would.
class BoxWatcher {
 public:
  BoxWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start();
  }
  std::vector<SeenBox> seen;
  Qt::Key key = Qt::Key_Escape;

 private:
  void look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    // Boxes live on the stack: the next one may stand where the last did.
    if (!box || !box->isVisible() || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    SeenBox s;
    s.text = box->text();
    s.title = box->windowTitle();
    s.window_title = box->windowHandle() ? box->windowHandle()->title() : QString();
    for (QAbstractButton* b : box->buttons()) s.buttons << b->text().remove(QLatin1Char('&'));
    seen.push_back(s);
    QTest::keyClick(box, key);
  }
  QTimer timer_;
};

class RealDialogs : public RecordTest {
 protected:
  void SetUp() override {
    translator_ = install_qt_japanese(*qApp);
    ASSERT_NE(translator_, nullptr) << "Qt's Japanese translation (qt6-translations-l10n)";
    RecordTest::SetUp();
    real_.parent = nullptr;
    platform_.dialogs = &real_;
  }
  void TearDown() override {
    RecordTest::TearDown();
    QCoreApplication::removeTranslator(translator_);
    delete translator_;
  }
  // Shows one box through the real dialogs and answers it with a key.
  MsgAnswer ask_with_key(const char* text, const char* title, Qt::Key key,
                         MsgButtons buttons = MsgButtons::yes_no) {
    boxes.key = key;
    boxes.seen.clear();
    return real_.message(QString::fromUtf8(text), QString::fromUtf8(title), buttons,
                         MsgIcon::none);
  }

  QtDialogs real_;
  QTranslator* translator_ = nullptr;
  BoxWatcher boxes;  // answers every box with Esc unless told otherwise
  std::vector<SeenBox>& seen = boxes.seen;
};

TEST_F(RealDialogs, YesNoButtonsAreJapanese) {
  for (const char* text : {"続けますか？", "棋譜を '進 'で進めて下さい"}) {
    ask_with_key(text, "再ゲーム", Qt::Key_Escape);
    ASSERT_EQ(seen.size(), 1u) << text;
    EXPECT_EQ(seen[0].text, QString::fromUtf8(text));
    // Qt's own words with their key letters, as Japanese desktops show them.
    EXPECT_EQ(seen[0].buttons, (QStringList{"はい(Y)", "いいえ(N)"})) << text;
  }
  // The key letters answer too.
  EXPECT_EQ(ask_with_key("続けますか？", "再ゲーム", Qt::Key_N), MsgAnswer::no);
  EXPECT_EQ(ask_with_key("続けますか？", "再ゲーム", Qt::Key_Y), MsgAnswer::yes);
}

TEST_F(RealDialogs, EscAnswersYesAndEnterToo) {
  EXPECT_EQ(ask_with_key("続けますか？", "再ゲーム", Qt::Key_Escape), MsgAnswer::yes);
  EXPECT_EQ(ask_with_key("続けますか？", "再ゲーム", Qt::Key_Return), MsgAnswer::yes);
  EXPECT_EQ(ask_with_key("OKですか？", "再開(COM)", Qt::Key_Escape, MsgButtons::ok),
            MsgAnswer::ok);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].buttons, QStringList{"OK"});
}

TEST_F(RealDialogs, AnEmptyTitleIsShownBlankNotAsTheProgramsName) {
  ask_with_key("   ** 王手 **", "", Qt::Key_Escape, MsgButtons::ok);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, QStringLiteral("   ** 王手 **"));
  // The window system is handed a title of blanks: nothing for it to fill in.
  EXPECT_FALSE(seen[0].window_title.isEmpty());
  EXPECT_TRUE(seen[0].window_title.trimmed().isEmpty()) << seen[0].window_title.toStdString();
  // A title the game gives is kept as it is, blanks and all.
  ask_with_key("棋譜を書き込みました", "  ", Qt::Key_Escape, MsgButtons::ok);
  EXPECT_EQ(seen[0].window_title, QStringLiteral("  "));
  ask_with_key("先手の番です", "対局", Qt::Key_Escape, MsgButtons::ok);
  EXPECT_EQ(seen[0].window_title, QStringLiteral("対局"));
}

// After a game, Esc in "続けますか？" starts afresh instead of ending the program.
TEST_F(RealDialogs, EscAfterAGameStartsAfresh) {
  start_two_players();
  play_short_game(3);
  seen.clear();
  announce_winner(w->game, "先手");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, QStringLiteral("先手の勝ちです"));
  EXPECT_EQ(seen[1].text, QStringLiteral("続けますか？"));
  EXPECT_EQ(ended, 0);
  EXPECT_FALSE(w->program_ended());
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(w->g.record_pos, 0);
}

// With a record loaded, Esc in "棋譜を '進 'で進めて下さい" keeps the record.
TEST_F(RealDialogs, EscKeepsALoadedRecord) {
  start_two_players();
  QFile::copy(test_data_dir + QStringLiteral("/short_game.棋譜"), dir_.filePath("s.棋譜"));
  seen.clear();
  w->record_panel()->File1_Click(QStringLiteral("s.棋譜"));
  ASSERT_EQ(seen.size(), 2u);
  ASSERT_EQ(w->g.kifu_mode, flag_on);
  const int len = w->g.record_len;
  sound.played.clear();
  seen.clear();
  click(3, 3);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, QStringLiteral("棋譜を '進 'で進めて下さい"));
  EXPECT_EQ(seen[0].buttons, (QStringList{"はい(Y)", "いいえ(N)"}));
  EXPECT_EQ(w->g.kifu_mode, flag_on);
  EXPECT_EQ(w->g.record_len, len);
  EXPECT_TRUE(sound.played.empty());
  trigger("AFTER");
  EXPECT_EQ(w->g.record_pos, 1);
}

// The text boxes' context menus speak Japanese too.
TEST_F(RealDialogs, TextBoxMenusAreJapanese) {
  start();
  std::unique_ptr<QMenu> menu(w->record_panel()->Text1->createStandardContextMenu());
  QStringList captions;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) captions << a->text().section(QLatin1Char('\t'), 0, 0);
  ASSERT_GE(captions.size(), 6);
  EXPECT_TRUE(captions.contains(QStringLiteral("貼り付け(&P)")))
      << captions.join('|').toStdString();
  for (QString c : captions) {
    c.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    EXPECT_FALSE(c.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) << c.toStdString();
  }
}

}  // namespace
}  // namespace nirvex::testing
