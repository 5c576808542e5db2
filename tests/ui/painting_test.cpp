// What the player sees: labels, hands, move numbers, level and last moves,
// at their cell positions.
#include "tests/ui/window_fixture.h"

namespace nirvex::testing {
namespace {

TEST_F(WindowTest, LabelsShowFileNumbersAndRankKanji) {
  start();
  w->canvas.clear_log();
  draw_labels(w->game);
  // File labels: shadow, then yellow copy a tenth up and left.
  EXPECT_EQ(w->canvas.texts_in(1.2, 0.5, 1.21, 0.51), QStringList{" 6"});
  EXPECT_EQ(w->canvas.texts_in(6.1, 0.4, 6.11, 0.41), QStringList{" 1"});
  EXPECT_EQ(w->canvas.texts_in(7.1, 1.3, 7.11, 1.31), QStringList{"一"});
  EXPECT_EQ(w->canvas.texts_in(7.1, 6.3, 7.11, 6.31), QStringList{"六"});
  int yellow = 0;
  for (const PaintedText& t : w->canvas.text_log()) yellow += t.colour == colour_label;
  EXPECT_EQ(yellow, 12);
}

TEST_F(WindowTest, PieceTextNamesDigitsAndPieces) {
  EXPECT_EQ(QString::fromStdString(piece_text(1)), QStringLiteral("１"));
  EXPECT_EQ(QString::fromStdString(piece_text(6)), QStringLiteral("６"));
  EXPECT_EQ(QString::fromStdString(piece_text(1001)), QStringLiteral("一"));
  EXPECT_EQ(QString::fromStdString(piece_text(1009)), QStringLiteral("九"));
  EXPECT_EQ(QString::fromStdString(piece_text(-31)), QStringLiteral("桂成"));
  EXPECT_EQ(QString::fromStdString(piece_text(901)), QStringLiteral("飛成"));
  EXPECT_EQ(QString::fromStdString(piece_text(-950)), QStringLiteral("王"));
  EXPECT_EQ(QString::fromStdString(piece_text(111)), QString());
  EXPECT_EQ(QString::fromStdString(piece_text(0)), QString());
  EXPECT_EQ(QString::fromStdString(piece_text(10)), QString());
}

TEST_F(WindowTest, MoveNumbersBelowSevenStandFurtherRight) {
  start();
  w->canvas.clear_log();
  draw_move_number(w->game, 6);
  EXPECT_EQ(w->canvas.texts_in(10.2, 3.3, 10.21, 3.31), QStringList{" 6"});
  EXPECT_EQ(w->canvas.texts_in(10.8, 3.1, 10.81, 3.11), QStringList{"手目"});
  w->canvas.clear_log();
  draw_move_number(w->game, 7);
  EXPECT_EQ(w->canvas.texts_in(10.1, 3.3, 10.11, 3.31), QStringList{" 7"});
  w->canvas.clear_log();
  draw_move_number(w->game, 123);
  EXPECT_EQ(w->canvas.texts_in(10.0, 3.3, 10.01, 3.31), QStringList{" 123"});
}

TEST_F(WindowTest, HandsShowCountsOnlyForHeldKinds) {
  start();
  w->g.lower_hand[2] = 2;
  w->g.upper_hand[6] = 1;
  w->canvas.clear_log();
  draw_hand_lower(w->game);
  draw_hand_upper(w->game);
  EXPECT_EQ(w->canvas.picture_at(8, 2), -30);
  EXPECT_EQ(w->canvas.picture_at(8, 1), 0);
  EXPECT_EQ(w->canvas.texts_in(9, 2.2, 9.01, 2.21), QStringList{" 2"});
  // The upper hand lists the rook at the top.
  EXPECT_EQ(w->canvas.picture_at(-1, 1), 900);
  EXPECT_EQ(w->canvas.picture_at(-1, 6), 0);
  EXPECT_EQ(w->canvas.texts_in(0, 1.2, 0.01, 1.21), QStringList{" 1"});
  EXPECT_EQ(w->canvas.text_log().size(), 4u);  // two counts, two shadows
  for (const PaintedText& t : w->canvas.text_log())
    EXPECT_TRUE(t.colour == colour_pick || t.colour == colour_shadow);
}

TEST_F(WindowTest, LastMoveOfTheLowerSideToTheCorner) {
  start();
  w->canvas.clear_log();
  draw_last_move(w->game, w->g.lower_side, 1, 1, -21, colour_last_move);
  EXPECT_EQ(w->canvas.texts_in(10.4, 2.4, 11.5, 2.41), (QStringList{"６", "一", "と"}));
  EXPECT_EQ(w->canvas.texts_in(10.5, 2.5, 11.6, 2.51), (QStringList{"６", "一", "と"}));
}

TEST_F(WindowTest, EveryTextHasABlackShadowFirst) {
  start();
  trigger("KEIKA");
  w->canvas.clear_log();
  redraw_all(w->game);
  draw_move_number(w->game, 12);
  draw_last_move(w->game, w->g.upper_side, 3, 4, 800, colour_last_move);
  const auto& log = w->canvas.text_log();
  ASSERT_EQ(log.size() % 2, 0u);
  for (std::size_t i = 0; i < log.size(); i += 2) {
    EXPECT_EQ(log[i].colour, colour_shadow) << log[i].text.toStdString();
    EXPECT_EQ(log[i].text, log[i + 1].text);
    EXPECT_NEAR(log[i + 1].x, log[i].x - 0.1, 1e-9);
    EXPECT_NEAR(log[i + 1].y, log[i].y - 0.1, 1e-9);
  }
}

TEST_F(WindowTest, SenteDrawsTheLevelWhileStartDoesNot) {
  start();
  w->canvas.clear_log();
  trigger("START");
  EXPECT_TRUE(w->canvas.texts_in(-1.6, 0, 0.2, 0.3).isEmpty());
}

TEST_F(WindowTest, BackgroundsAreTiledAroundTheBoard) {
  start();
  for (int id : {background_tatami, background_bamboo, background_space, background_brick,
                 background_green}) {
    background_Click(w->game, id);
    EXPECT_EQ(w->canvas.picture_at(-3, -2), id);
    EXPECT_EQ(w->canvas.picture_at(15, 9), id);
    EXPECT_EQ(w->canvas.picture_at(7, 3), id);
    EXPECT_EQ(w->canvas.picture_at(3, 3), w->g.board[3][3]);  // board untouched
  }
}

TEST_F(WindowTest, PicturesExistForEveryCode) {
  for (int code : {0, 20, 21, 30, 31, 100, 101, 110, 800, 801, 900, 901, 950}) {
    for (int c : {code, -code}) {
      const QImage img = Canvas::picture(c, false);
      ASSERT_FALSE(img.isNull()) << c;
      EXPECT_EQ(img.size(), QSize(39, 44)) << c;
      EXPECT_EQ(Canvas::picture(c, true).size(), QSize(156, 176)) << c;
    }
  }
  for (int id = 2; id <= 6; ++id) EXPECT_EQ(Canvas::picture(id, false).size(), QSize(40, 45));
  EXPECT_EQ(Canvas::picture(title_picture_id, false).size(), QSize(160, 63));
  EXPECT_TRUE(Canvas::picture(111, false).isNull());
  EXPECT_TRUE(Canvas::picture(-111, false).isNull());
}

TEST_F(WindowTest, BoardPaintsPiecePixelsIntoTheBuffer) {
  start();
  // The buffer under the upper king differs from an empty square's.
  const QImage& img = w->canvas.image();
  auto cell_pixels = [&](int col, int row) {
    const QPointF p = Canvas::cell_to_twips(col, row) * buffer_pixels_per_twip;
    return img.copy(QRect(p.toPoint(), QSize(140, 160)));
  };
  EXPECT_NE(cell_pixels(6, 1), cell_pixels(3, 3));
  EXPECT_EQ(cell_pixels(3, 3), cell_pixels(4, 4));
}

}  // namespace
}  // namespace nirvex::testing
