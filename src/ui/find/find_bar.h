#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "model/task_search.h"
#include "model/task_text_index.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qm::ui {

class TaskTreeModel;

// The find bar under the task tree: finds tasks by their title, and by
// their note with "Notes too", in display order over the whole tree. A
// task found is selected with its ancestors expanded; the tree's tasks
// themselves never change. "3 of 17" is counted a slice at a time, so
// that the window goes on answering while a long list is counted.
class FindBar : public QWidget {
  Q_OBJECT
 public:
  explicit FindBar(QWidget* parent = nullptr);

  // The tree searched; nullptr while there is none.
  void setTaskModel(TaskTreeModel* model);

  // Shown, with the focus in the text and the text selected.
  void open();
  // Hides the bar, handing the focus back first (leaving).
  void close();
  // From the selected task, not counting it; with none, from the first
  // (next) or the last (previous) task.
  void findNext();
  void findPrevious();

  // Whether the focus was inside the bar before the change of focus now
  // being delivered: a focus entry elsewhere can tell where it came from.
  bool hadFocus() const { return hadFocus_; }
  // Counting "3 of 17" still has tasks to go through.
  bool isCounting() const { return counter_.has_value(); }
  // The copy of the texts that a search reads instead of the tree is still
  // being made; until it is, searches walk the tree beyond its end.
  bool isCopyingTexts() const { return copyTimer_.isActive(); }
  // Every edit, undone and redone ones too, comes through here: the copy of
  // the texts and what is known of the last search no longer hold.
  void treeEdited() { forgetResults(); }

  QLabel* lblFind;
  QLineEdit* txtFind;
  QPushButton* btnFindNext;
  QPushButton* btnFindPrevious;
  QCheckBox* chkNotesToo;
  QLabel* lblFindCount;
  QToolButton* btnFindClose;

 Q_SIGNALS:
  // The bar is about to hide: whoever had the focus before may take it back.
  void leaving();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void textEdited();
  void find(SearchDirection direction, bool fromIncluded);
  void showResult(TreeNode* found);
  void startCounting(const TreeNode* current);
  void countSome();
  void startCopyingTexts();
  void dropTextCopy();
  void copySomeTexts();
  // The tree changed: what is known of the last search no longer holds.
  void forgetResults();
  Ttree* tree() const;

  QPointer<TaskTreeModel> model_;
  std::optional<MatchCounter> counter_;
  QTimer countTimer_;
  // Made in slices while the bar is shown, dropped when it hides: tens of
  // megabytes in a list of a million tasks.
  std::optional<TaskTextIndex> texts_;
  QTimer copyTimer_;
  // The last count finished, with its matches: a text holding its text is
  // looked for among them instead of in the whole tree.
  struct Counted {
    QString text;
    bool notes;
    std::shared_ptr<const std::vector<FoundTask>> found;
  };
  std::optional<Counted> counted_;
  QString countingText_;
  // The matches of a text that holds `text` all lie among these, or null.
  std::shared_ptr<const std::vector<FoundTask>> countedHolding(const QString& text, bool notes) const;
  // A text that nothing matched in the tree as it is: a text holding it
  // matches nothing either, so typing on costs nothing.
  std::optional<QString> missed_;
  bool missedWithNotes_ = false;
  bool hadFocus_ = false;
};

}  // namespace qm::ui
