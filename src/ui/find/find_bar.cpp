#include "ui/find/find_bar.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/ttree.h"
#include "ui/access/captioned_label.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

const QColor kNoMatchColor{255, 204, 204};  // pale red
// Tasks counted between two turns of the event loop: a few milliseconds.
constexpr size_t kCountSlice = 32'768;

bool isEnterKey(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

std::optional<size_t> indexOfSelected(const Ttree& tree) {
  if (tree.selected() == nullptr) return std::nullopt;
  return tree.absoluteIndex(tree.selected());
}

}  // namespace

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FindBar"));
  lblFind = new QLabel(QStringLiteral("Find:"), this);
  txtFind = new QLineEdit(this);
  lblFind->setBuddy(txtFind);
  btnFindNext = new QPushButton(QStringLiteral("Next"), this);
  btnFindPrevious = new QPushButton(QStringLiteral("Previous"), this);
  chkNotesToo = new QCheckBox(QStringLiteral("Notes too"), this);
  chkNotesToo->setChecked(true);
  lblFindCount = new QLabel(this);
  btnFindClose = new QToolButton(this);
  btnFindClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  btnFindClose->setAutoRaise(true);
  btnFindClose->setToolTip(QStringLiteral("Close"));
  btnFindClose->setAccessibleName(QStringLiteral("Close find bar"));
  setAccessibleCaption(lblFindCount, QStringLiteral("Matches"));
  // Two lines, so that the text has room for twenty characters and more in
  // the window's default size: the text and the close box, then the
  // buttons, the notes switch and the count.
  auto* lines = new QVBoxLayout(this);
  lines->setContentsMargins(2, 2, 2, 2);
  lines->setSpacing(2);
  for (const auto& line :
       {std::initializer_list<QWidget*>{lblFind, txtFind, btnFindClose},
        std::initializer_list<QWidget*>{btnFindNext, btnFindPrevious, chkNotesToo, lblFindCount}}) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (QWidget* w : line) row->addWidget(w, w == txtFind || w == lblFindCount ? 1 : 0);
    lines->addLayout(row);
  }
  lblFind->setObjectName(QStringLiteral("lblFind"));
  txtFind->setObjectName(QStringLiteral("txtFind"));
  btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
  btnFindPrevious->setObjectName(QStringLiteral("btnFindPrevious"));
  chkNotesToo->setObjectName(QStringLiteral("chkNotesToo"));
  lblFindCount->setObjectName(QStringLiteral("lblFindCount"));
  btnFindClose->setObjectName(QStringLiteral("btnFindClose"));
  txtFind->installEventFilter(this);

  connect(txtFind, &QLineEdit::textEdited, this, &FindBar::textEdited);
  connect(btnFindNext, &QPushButton::clicked, this, &FindBar::findNext);
  connect(btnFindPrevious, &QPushButton::clicked, this, &FindBar::findPrevious);
  connect(btnFindClose, &QToolButton::clicked, this, &FindBar::close);
  // Switching notes on or off asks again from where the search stands.
  connect(chkNotesToo, &QCheckBox::toggled, this, &FindBar::textEdited);
  countTimer_.setInterval(0);
  connect(&countTimer_, &QTimer::timeout, this, &FindBar::countSome);
  copyTimer_.setInterval(0);
  connect(&copyTimer_, &QTimer::timeout, this, &FindBar::copySomeTexts);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*old*/, QWidget* now) {
    hadFocus_ = now != nullptr && isAncestorOf(now);
    // A dialog taking the focus may edit a note.
    if (hadFocus_) return;
    missed_.reset();
    counted_.reset();
  });
  hide();
}

void FindBar::setTaskModel(TaskTreeModel* model) {
  if (model_ != nullptr) disconnect(model_, nullptr, this, nullptr);
  model_ = model;
  forgetResults();
  if (model == nullptr) return;
  for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
    connect(model, changed, this, &FindBar::forgetResults);
  connect(model, &QAbstractItemModel::rowsMoved, this, &FindBar::forgetResults);
  connect(model, &QAbstractItemModel::modelReset, this, &FindBar::forgetResults);
  connect(model, &QAbstractItemModel::dataChanged, this, &FindBar::forgetResults);
}

Ttree* FindBar::tree() const { return model_ != nullptr ? model_->tree() : nullptr; }

void FindBar::open() {
  show();
  if (!texts_) startCopyingTexts();
  txtFind->setFocus(Qt::ShortcutFocusReason);
  txtFind->selectAll();
}

void FindBar::close() {
  Q_EMIT leaving();
  hide();
  dropTextCopy();
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtFind && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (isEnterKey(key)) {
      key->modifiers().testFlag(Qt::ShiftModifier) ? findPrevious() : findNext();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// --- finding

void FindBar::textEdited() { find(SearchDirection::Forward, true); }

void FindBar::findNext() { find(SearchDirection::Forward, false); }

void FindBar::findPrevious() { find(SearchDirection::Backward, false); }

void FindBar::find(SearchDirection direction, bool fromIncluded) {
  Ttree* searched = tree();
  QString text = txtFind->text();
  counter_.reset();
  countTimer_.stop();
  if (searched == nullptr || text.isEmpty()) {
    txtFind->setPalette(QPalette());
    lblFindCount->clear();
    return;
  }
  if (!texts_) startCopyingTexts();  // shown from the menu, without open()
  bool notes = chkNotesToo->isChecked();
  bool knownMiss = missed_ && missedWithNotes_ == notes && text.contains(*missed_);
  TaskQuery query(text.toStdString(), notes);
  TreeNode* found = nullptr;
  if (knownMiss)
    found = nullptr;
  else if (auto among = countedHolding(text, notes))
    found = findAmong(*searched, *among, query, searched->selected(), direction, fromIncluded);
  else if (texts_) {
    std::optional<size_t> at =
        texts_->find(*searched, query, indexOfSelected(*searched), direction, fromIncluded);
    found = at ? searched->nodeAt(*at) : nullptr;
  } else
    found = findTask(*searched, query, searched->selected(), direction, fromIncluded);
  if (found == nullptr) {
    missed_ = text;
    missedWithNotes_ = notes;
  }
  showResult(found);
}

void FindBar::showResult(TreeNode* found) {
  QPalette palette;
  if (found == nullptr) {
    palette.setColor(QPalette::Base, kNoMatchColor);
    txtFind->setPalette(palette);
    lblFindCount->setText(QStringLiteral("No match"));
    return;
  }
  txtFind->setPalette(palette);
  Ttree& searched = *tree();
  for (TreeNode* above = found->parent(); above != nullptr && !above->isRoot(); above = above->parent())
    if (!above->expanded()) searched.setExpanded(above, true);
  searched.select(found);
  startCounting(found);
}

// --- counting

std::shared_ptr<const std::vector<FoundTask>> FindBar::countedHolding(const QString& text, bool notes) const {
  if (!counted_ || counted_->notes != notes || !text.contains(counted_->text)) return nullptr;
  // Looking among many of the tasks costs more than walking them all in
  // order.
  Ttree* searched = tree();
  if (searched == nullptr || counted_->found->size() > searched->nodeCount() / 4) return nullptr;
  return counted_->found;
}

void FindBar::startCounting(const TreeNode* current) {
  lblFindCount->clear();
  QString text = txtFind->text();
  bool notes = chkNotesToo->isChecked();
  TaskQuery query(text.toStdString(), notes);
  if (auto among = countedHolding(text, notes))
    counter_.emplace(std::move(query), current, std::move(among));
  else
    counter_.emplace(std::move(query), current);
  countingText_ = text;
  countTimer_.start();
}

void FindBar::countSome() {
  Ttree* counted = tree();
  if (!counter_ || counted == nullptr) {
    countTimer_.stop();
    return;
  }
  if (!counter_->countSome(*counted, kCountSlice)) return;
  countTimer_.stop();
  size_t matches = counter_->matches();
  size_t rank = counter_->rankOfCurrent();
  counted_ = Counted{countingText_, chkNotesToo->isChecked(),
                     std::make_shared<const std::vector<FoundTask>>(counter_->takeFound())};
  counter_.reset();
  if (matches == 0)
    lblFindCount->setText(QStringLiteral("No match"));
  else if (rank == 0)
    lblFindCount->setText(QStringLiteral("%1 matches").arg(matches));
  else
    lblFindCount->setText(QStringLiteral("%1 of %2").arg(rank).arg(matches));
}

// --- the copy of the texts

void FindBar::dropTextCopy() {
  copyTimer_.stop();
  texts_.reset();
}

void FindBar::startCopyingTexts() {
  dropTextCopy();
  if (tree() == nullptr) return;
  texts_.emplace();
  copyTimer_.start();
}

void FindBar::copySomeTexts() {
  Ttree* copied = tree();
  if (!texts_ || copied == nullptr || texts_->buildSome(*copied, kCountSlice)) copyTimer_.stop();
}

void FindBar::forgetResults() {
  missed_.reset();
  counted_.reset();
  isVisible() ? startCopyingTexts() : dropTextCopy();
  if (!counter_) return;
  // Counted again over the tree as it now is, from the task now selected.
  Ttree* counted = tree();
  if (counted == nullptr) {
    counter_.reset();
    countTimer_.stop();
    lblFindCount->clear();
    return;
  }
  startCounting(counted->selected());
}

}  // namespace qm::ui
