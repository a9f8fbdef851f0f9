#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

#include "model/tree_observer.h"
#include "model/tree_settings.h"
#include "stream/files/file_fingerprint.h"

namespace qm {
class Ttree;
}

namespace qm::ui {

// Counts the changes of a tree that reach its file (not selection or
// expansion, nor the control's placement, which follows the window), so that
// a recovery file is written only after one.
class ChangeCounter : public TreeObserver {
 public:
  ChangeCounter() = default;
  ChangeCounter(const ChangeCounter&) = delete;
  ChangeCounter& operator=(const ChangeCounter&) = delete;
  ~ChangeCounter() override { follow(nullptr); }

  void follow(Ttree* tree);
  quint64 changes() const { return changes_; }
  void count() { ++changes_; }

  void nodeInserted(TreeNode*) override { count(); }
  void nodeRemoved(TreeNode*, size_t) override { count(); }
  void nodeMoved(TreeNode*) override { count(); }
  void treeReset() override { count(); }
  void nodeChanged(TreeNode*) override { count(); }
  void settingsChanged() override;
  void treeDestroyed() override { tree_ = nullptr; }

 private:
  Ttree* tree_ = nullptr;
  quint64 changes_ = 0;
  TreeSettings settings_;  // the tree's, placement left out
};

// A recovery file set left by an instance that no longer runs, held (its
// lock taken) by the one that found it.
struct AbandonedList {
  QString id;
  QString listPath;  // the list, as Save writes one
  QString fileName;  // the list's own file, possibly empty
  QString readFrom;  // without a name: the file it was read from (the command line's), possibly empty
  QDateTime changed;
  qint64 tasks = 0;
  std::optional<FileFingerprint> fingerprint;  // of fileName when last opened or saved
  std::shared_ptr<QLockFile> lock;
};

// The recovery files of this instance, under the user's state directory:
// <id>.jjp (the list), <id>.json (the file name, time and task count) and
// <id>.lock, held while the instance runs so that no other one takes them.
// The files are the user's alone (0600), and so are their folders (0700).
class RecoveryFiles {
 public:
  // $XDG_STATE_HOME/quillmark/recovery; when unset, under ~/.local/state,
  // or on Windows under the local application-data folder (%LOCALAPPDATA%).
  static QString directory();

  RecoveryFiles();
  ~RecoveryFiles();
  RecoveryFiles(const RecoveryFiles&) = delete;
  RecoveryFiles& operator=(const RecoveryFiles&) = delete;

  // False when the lock could not be taken: nothing is written then.
  bool isOwned() const { return lock_ != nullptr; }
  QString listPath() const;
  // Writes the list, then its sidecar, with the atomic writer, readable by
  // the user alone; raises.
  void write(Ttree& tree, const QString& fileName, const QString& readFrom,
             const std::optional<FileFingerprint>& fingerprint);
  void remove();

  // The newest set whose owner has gone, locked for the caller; nullopt when
  // there is none. Locks that gone owners left without a list are removed.
  std::optional<AbandonedList> newestAbandoned() const;
  // A recovered set becomes this instance's: its files stay until removed.
  void adopt(AbandonedList list);
  static void discard(const AbandonedList& list);

 private:
  QString pathOf(const QString& suffix) const;

  QString directory_;
  QString id_;
  std::shared_ptr<QLockFile> lock_;
};

}  // namespace qm::ui
