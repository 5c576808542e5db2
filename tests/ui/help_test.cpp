// "解説" and "バージョン情報".
#include <QLabel>
#include <QPushButton>

#include "tests/ui/window_fixture.h"
#include "ui/about_box.h"

namespace nirvex::testing {
namespace {

TEST_F(WindowTest, ManualMissingDoesNothingVisible) {
  start();
  trigger("KAISETU");
  EXPECT_TRUE(browser.opened.isEmpty());
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(sound.played.empty());
  trigger("START");  // the game goes on
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
}

// The manual in the start folder, as a page of its own.
class ManualTest : public WindowTest {
 protected:
  void put_manual() {
    QFile page(dir_.filePath(QStringLiteral("Nirvex将棋.htm")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
  }
  QString manual_file() const {
    return QDir(QString::fromStdString(w->game.start_dir)).filePath(QStringLiteral("Nirvex将棋.htm"));
  }
};

TEST_F(ManualTest, ManualOpensFromTheStartFolder) {
  start();
  put_manual();
  trigger("KAISETU");
  ASSERT_EQ(browser.opened.size(), 1);
  EXPECT_EQ(QUrl(browser.opened[0]).toLocalFile(), manual_file());
  EXPECT_TRUE(dialogs.shown.empty());
}

// Without a browser the player is told so, with the manual's file to open
// by hand, the way the about box tells it of the home page; the game goes
// on.
TEST_F(ManualTest, ABrowserThatCannotStartIsSaidWithTheManualsFile) {
  start();
  put_manual();
  browser.works = false;
  trigger("KAISETU");
  ASSERT_EQ(browser.opened.size(), 1);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text,
            QStringLiteral("ブラウザを起動できませんでした。\n") + manual_file());
  EXPECT_EQ(last_message().title, QStringLiteral("解説"));
  EXPECT_EQ(last_message().buttons, MsgButtons::ok);
  trigger("START");
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
}

TEST_F(WindowTest, AboutBoxPlaysItsSoundAndShowsPictureAndButtons) {
  start();
  AboutBox* seen = nullptr;
  on_modal = [&](QDialog* d) {
    seen = qobject_cast<AboutBox*>(d);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(seen->Command1->text(), QStringLiteral("ホームページ"));
    EXPECT_EQ(seen->Command2->text(), QStringLiteral("O K"));
    // The picture fills its place: the whole width of the box, nearly.
    const QPixmap pix = seen->picture->pixmap();
    ASSERT_FALSE(pix.isNull());
    EXPECT_NEAR(pix.width() / pix.devicePixelRatio(), seen->picture->width(), 2);
    EXPECT_GT(seen->picture->width(), seen->width() * 0.9);
    // The buttons stand where they should, in proportion to the box.
    const QRect c1 = seen->Command1->geometry(), c2 = seen->Command2->geometry();
    EXPECT_EQ(c1.top(), c2.top());
    EXPECT_EQ(c1.size(), c2.size());
    EXPECT_NEAR(double(c2.left()) / c1.left(), 2880.0 / 600, 0.05);
    EXPECT_NEAR(double(c1.width()) / c1.height(), 1575.0 / 375, 0.1);
    seen->Command2->click();
    EXPECT_EQ(seen->result(), QDialog::Accepted);
  };
  trigger("VER");
  EXPECT_EQ(modal_shown, 1);
  EXPECT_EQ(played_names(), QStringList{"other"});
  EXPECT_TRUE(browser.opened.isEmpty());
}

TEST_F(WindowTest, HomePageButtonOpensTheHomePage) {
  start();
  on_modal = [](QDialog* d) { static_cast<AboutBox*>(d)->Command1->click(); };
  trigger("VER");
  ASSERT_EQ(browser.opened.size(), 1);
  EXPECT_EQ(browser.opened[0], w->home_page_address());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WindowTest, HomePageThatCannotBeOpenedIsReportedWithItsAddress) {
  start();
  browser.works = false;
  on_modal = [](QDialog* d) { static_cast<AboutBox*>(d)->Command1->click(); };
  trigger("VER");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(last_message().text.contains(w->home_page_address()));
  EXPECT_EQ(last_message().title, QStringLiteral("ホームページ"));
}

}  // namespace
}  // namespace nirvex::testing
