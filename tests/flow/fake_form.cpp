#include "tests/flow/fake_form.h"

#include "ui/flow/board_input.h"
#include "ui/flow/program.h"

namespace nirvex::testing {

FlowFixture::FlowFixture() {
  game.form = &form;
  game.sound = &sound;
  game.settings = &settings;
  game.records = &records;
  game.move_list = &move_list;
  settings.file.ok = true;
  settings.file.background = 2;
  settings.file.guidance = settings.file.elapsed_time = settings.file.music = false;
  Form_Load(game);
  form.shown.clear();
  sound.played.clear();
}

void FlowFixture::click(int col, int row, int button) {
  Form_MouseDown(game, button, cell_centre_x(col), cell_centre_y(row));
}

void FlowFixture::move(int fc, int fr, int tc, int tr, int button) {
  click(fc, fr);
  click(tc, tr, button);
}

}  // namespace nirvex::testing
