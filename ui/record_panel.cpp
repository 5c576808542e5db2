#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QMouseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "ui/board_view.h"
#include "ui/canvas.h"
#include "ui/flow/game.h"
#include "ui/flow/record_menu.h"
#include "ui/record_panel.h"

namespace nirvex {

namespace {

// Where each control stands, in twips of the painted area.
struct TwipRect {
  int left, top, width, height;
};
constexpr TwipRect drive1_at{240, 360, 2535, 300};
constexpr TwipRect dir1_at{240, 600, 2535, 1710};
constexpr TwipRect file1_at{240, 2280, 2535, 930};
constexpr TwipRect label1_at[4] = {{120, 2400, 855, 255},
                                   {120, 2640, 855, 255},
                                   {120, 2880, 855, 255},
                                   {120, 3120, 855, 255}};
constexpr TwipRect text2_at{960, 2400, 2295, 270};
constexpr TwipRect text3_at{960, 2640, 2295, 270};
constexpr TwipRect text4_at{960, 2880, 2295, 270};
constexpr TwipRect text1_at{960, 3120, 2295, 270};
constexpr TwipRect command1_at{3360, 3000, 855, 375};
// The window font is 9 points, 180 twips.
constexpr double font_twips = 180;

constexpr int path_role = Qt::UserRole;

const QString record_extension = QStringLiteral(".棋譜");

// The drives of this machine: the root and the home folder first, then
// every other mounted volume.  Each entry's data is its folder.
QList<QPair<QString, QString>> machine_drives() {
  QList<QPair<QString, QString>> out;  // shown text, folder
  QStringList seen;
  auto add = [&](const QString& path, const QString& text) {
    const QString clean = QDir::cleanPath(path);
    if (clean.isEmpty() || seen.contains(clean)) return;
    seen << clean;
    out.append({text, clean});
  };
  add(QDir::rootPath(), QDir::rootPath());
  add(QDir::homePath(), QDir::homePath());
  QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
  std::sort(volumes.begin(), volumes.end(),
            [](const QStorageInfo& a, const QStorageInfo& b) {
              return a.rootPath() < b.rootPath();
            });
  for (const QStorageInfo& v : volumes) {
    if (!v.isValid()) continue;
    const QFileInfo root(v.rootPath());
    if (root.exists() && !root.isDir()) continue;  // a single file mounted
    const QString name = v.name();
    add(v.rootPath(), name.isEmpty() ? v.rootPath()
                                     : v.rootPath() + QStringLiteral(" [") + name +
                                           QStringLiteral("]"));
  }
  return out;
}

// A folder that can be listed.  A drive whose folder cannot be is "not
// ready", like a drive without a medium.
bool folder_ready(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

RecordPanel::RecordPanel(Game& game, BoardView* view, const QString& folder)
    : QWidget(view), game_(game), view_(view), dir1_path_(folder), start_path_(folder) {
  setObjectName(QStringLiteral("RecordPanel"));
  view->installEventFilter(this);
  QWidget* parent = this;

  Drive1 = new QComboBox(parent);
  Drive1->setObjectName(QStringLiteral("Drive1"));
  Drive1->setFocusPolicy(Qt::StrongFocus);
  connect(Drive1, &QComboBox::activated, this, [this](int index) {
    Drive1_Change(Drive1->itemData(index, path_role).toString());
  });

  Dir1 = new QTreeWidget(parent);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  Dir1->setHeaderHidden(true);
  Dir1->setRootIsDecorated(false);
  Dir1->setItemsExpandable(false);
  Dir1->setExpandsOnDoubleClick(false);
  Dir1->setUniformRowHeights(true);
  Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
  // Nested folders are drawn open and indented, without expand arrows.
  Dir1->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
  Dir1->header()->setStretchLastSection(false);
  Dir1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  // A double click (or Enter) opens a folder, as the classic list did.
  connect(Dir1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    if (item) Dir1_Change(item->data(0, path_role).toString());
  });

  File1 = new QListWidget(parent);
  File1->setObjectName(QStringLiteral("File1"));
  File1->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(File1, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { if (item) File1_Click(item->text()); });

  static const char* const captions[4] = {"対 局 名：", "先    手 ：", "後    手 ：",
                                          "ﾌｧｲﾙ名 ："};
  for (int i = 0; i < 4; ++i) {
    Label1[i] = new QLabel(QString::fromUtf8(captions[i]), parent);
    Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    Label1[i]->setAutoFillBackground(true);
    Label1[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  auto make_text = [parent](const char* name) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QString::fromLatin1(name));
    return t;
  };
  Text2 = make_text("Text2");
  Text3 = make_text("Text3");
  Text4 = make_text("Text4");
  Text1 = make_text("Text1");
  Command1 = new QPushButton(QStringLiteral("RETURN"), parent);
  Command1->setObjectName(QStringLiteral("Command1"));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  // Every control starts hidden; Tab goes down the name panel in order.
  for (QWidget* wdg : std::initializer_list<QWidget*>{
           Drive1, Dir1, File1, Label1[0], Label1[1], Label1[2], Label1[3],
           Text2, Text3, Text4, Text1, Command1})
    wdg->hide();
  setTabOrder(Text2, Text3);
  setTabOrder(Text3, Text4);
  setTabOrder(Text4, Text1);
  setTabOrder(Text1, Command1);

  fill_drive_list();
  fill_dir_list();
  fill_file_list();
  place();
  cover_visible_controls();
}

// Follows the board view's size; a hidden panel once it shows again.
bool RecordPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::Resize) {
    if (isVisible())
      place();
    else
      placed_ = false;
  }
  return false;
}

// A press on the panel (a label, say) is not a press on the board below.
void RecordPanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

void RecordPanel::place() {
  if (!Drive1 || !view_) return;
  placed_ = true;
  setGeometry(view_->rect());
  const double scale = view_->target_rect().width() / surface_width_twips;
  auto put = [this](QWidget* wdg, const TwipRect& r) {
    const QPointF a = view_->from_twips(QPointF(r.left, r.top));
    const QPointF b = view_->from_twips(QPointF(r.left + r.width, r.top + r.height));
    wdg->setGeometry(QRectF(a, b).toRect());
  };
  QFont font(QStringLiteral("IPAPMincho"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(std::max(6, static_cast<int>(std::lround(font_twips * scale))));
  for (QWidget* wdg : std::initializer_list<QWidget*>{
           Drive1, Dir1, File1, Label1[0], Label1[1], Label1[2], Label1[3],
           Text2, Text3, Text4, Text1, Command1})
    wdg->setFont(font);
  // The list rows and the combo follow the font; icons stay in proportion.
  const int icon = std::max(8, static_cast<int>(std::lround(font_twips * scale)));
  Dir1->setIconSize(QSize(icon, icon));
  Dir1->setIndentation(std::max(6, static_cast<int>(std::lround(150 * scale))));
  put(Drive1, drive1_at);
  put(Dir1, dir1_at);
  put(File1, file1_at);
  for (int i = 0; i < 4; ++i) put(Label1[i], label1_at[i]);
  put(Text2, text2_at);
  put(Text3, text3_at);
  put(Text4, text4_at);
  put(Text1, text1_at);
  put(Command1, command1_at);
  cover_visible_controls();
}

void RecordPanel::cover_visible_controls() {
  QRegion region;
  for (QWidget* wdg : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (!wdg->isHidden()) region += wdg->geometry();
  setVisible(!region.isEmpty());
  if (!region.isEmpty()) setMask(region);
}

void RecordPanel::fill_drive_list() {
  Drive1->clear();
  for (const auto& [text, path] : machine_drives()) {
    Drive1->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), text);
    Drive1->setItemData(Drive1->count() - 1, path, path_role);
  }
}

// Shows the path from the top folder down to the current one, each folder
// open and one step further in, then the current folder's subfolders.
void RecordPanel::fill_dir_list() {
  Dir1->clear();
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirIcon);
  QStringList chain;
  for (QDir d(dir1_path_);; ) {
    chain.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  QTreeWidgetItem* parent_item = nullptr;
  for (const QString& path : chain) {
    const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
    auto* item = parent_item ? new QTreeWidgetItem(parent_item)
                             : new QTreeWidgetItem(Dir1);
    item->setText(0, name);
    item->setIcon(0, open_icon);
    item->setData(0, path_role, path);
    parent_item = item;
  }
  if (!parent_item) return;
  const QFileInfoList subs = QDir(dir1_path_).entryInfoList(
      QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& sub : subs) {
    auto* item = new QTreeWidgetItem(parent_item);
    item->setText(0, sub.fileName());
    item->setIcon(0, closed_icon);
    item->setData(0, path_role, sub.absoluteFilePath());
  }
  Dir1->expandAll();
  Dir1->setCurrentItem(parent_item);
  Dir1->scrollToItem(parent_item, QAbstractItemView::PositionAtTop);

  // The drive list shows the drive the folder lies on.
  int best = -1, best_len = -1;
  for (int i = 0; i < Drive1->count(); ++i) {
    const QString root = Drive1->itemData(i, path_role).toString();
    const bool inside = dir1_path_ == root ||
                        dir1_path_.startsWith(root.endsWith('/') ? root : root + '/');
    if (inside && root.size() > best_len) {
      best = i;
      best_len = root.size();
    }
  }
  if (best >= 0) Drive1->setCurrentIndex(best);
}

void RecordPanel::fill_file_list() {
  File1->clear();
  const QStringList names = QDir(dir1_path_).entryList(
      QStringList{QStringLiteral("*") + record_extension}, QDir::Files,
      QDir::Name | QDir::IgnoreCase);
  File1->addItems(names);
}

void RecordPanel::open_default_folder(bool reading) {
  const QString kept = QString::fromStdString(game_.autosave_folder);
  const QString path = reading && !kept.isEmpty() && folder_ready(kept)
                           ? QDir::cleanPath(QDir(kept).absolutePath())
                           : start_path_;
  if (path == dir1_path_) return;
  dir1_path_ = path;
  fill_dir_list();
  fill_file_list();
}

void RecordPanel::show_file_lists(bool drives, bool dirs, bool files) {
  if (!Drive1) return;
  if (!placed_) place();
  if (dirs && !folder_chosen_) open_default_folder(files);
  if (files && File1->isHidden()) fill_file_list();
  Drive1->setVisible(drives);
  Dir1->setVisible(dirs);
  File1->setVisible(files);
  cover_visible_controls();
}

void RecordPanel::show_name_panel(int mode) {
  if (!Text1) return;
  if (!placed_) place();
  QWidget* const panel[] = {Label1[0], Label1[1], Label1[2], Label1[3], Text2,
                            Text3,     Text4,     Text1,     Command1};
  if (mode == 0) {
    for (QWidget* wdg : panel) wdg->show();
    cover_visible_controls();
    Text2->setFocus();
    return;
  }
  Text1->clear();
  Text2->clear();
  Text3->clear();
  Text4->clear();
  for (QWidget* wdg : panel) wdg->hide();
  cover_visible_controls();
}

// A drive whose folder cannot be opened is not ready: the folder list stays
// where it was, and so does the drive list.
void RecordPanel::Drive1_Change(const QString& drive) {
  if (!folder_ready(drive)) {
    message(game_, "ﾃﾞﾊﾞｲｽが準備できていません", "ｴﾗｰ");
    fill_dir_list();  // puts the drive list back on the folder's drive
    return;
  }
  Dir1_Change(QDir(drive).absolutePath());
}

void RecordPanel::Dir1_Change(const QString& path) {
  folder_chosen_ = true;
  if (folder_ready(path)) dir1_path_ = QDir::cleanPath(QDir(path).absolutePath());
  fill_dir_list();
  fill_file_list();
}

std::string RecordPanel::text_field(int number) const {
  const QLineEdit* const fields[5] = {nullptr, Text1, Text2, Text3, Text4};
  if (number < 1 || number > 4) return {};
  return fields[number]->text().toStdString();
}

// Loads the clicked file for replay.
void RecordPanel::File1_Click(const QString& file_name) {
  nirvex::File1_Click(game_, QDir(dir1_path_).filePath(file_name).toStdString());
}

// Saves the record into the folder of the lists.
void RecordPanel::Command1_Click() {
  nirvex::Command1_Click(game_);
  fill_file_list();
}

}  // namespace nirvex
