// Keeping unsaved work: the recovery files written while the list has
// unsaved changes and offered at the next start, and the check that Save
// makes before it writes over a file another program may have changed.
#include <QFile>
#include <QLocale>
#include <QTimer>
#include <QUndoStack>
#include <chrono>
#include <cstdio>
#include <exception>

#include "model/ttree.h"
#include "platform/core_file_name.h"
#include "platform/desktop.h"
#include "ui/edits/command.h"
#include "ui/main_window/uMain.h"
#include "ui/safety/recovery.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

constexpr int kDefaultRecoverySeconds = 30;

// QUILLMARK_RECOVERY_SECONDS, when a positive number, replaces the interval.
int recoverySeconds() {
  bool ok = false;
  const int seconds = qEnvironmentVariableIntValue("QUILLMARK_RECOVERY_SECONDS", &ok);
  return ok && seconds > 0 ? seconds : kDefaultRecoverySeconds;
}

QString offerText(const AbandonedList& list) {
  const QString& name = list.fileName.isEmpty() ? list.readFrom : list.fileName;
  const QString file = name.isEmpty() ? QString() : name + u' ';
  return QStringLiteral(
             "Quillmark was closed without saving the task list %1(%2 tasks, last changed at %3). "
             "Recover it?")
      .arg(file)
      .arg(list.tasks)
      .arg(QLocale::system().toString(list.changed.toLocalTime(), QLocale::ShortFormat));
}

}  // namespace

void TfrmMain::startRecovery() {
  changes_ = std::make_unique<ChangeCounter>();
  recovery_ = std::make_unique<RecoveryFiles>();
  if (!recovery_->isOwned())
    std::fprintf(stderr, "Quillmark: cannot lock a recovery file in %s; unsaved work is not kept\n",
                 QFile::encodeName(RecoveryFiles::directory()).constData());
  // Properties OK changes a record, which the tree does not hear of; every
  // step taken or undone is a change.
  connect(undoStack_, &QUndoStack::indexChanged, this, [this] { changes_->count(); });
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setInterval(std::chrono::seconds(recoverySeconds()));
  connect(recoveryTimer_, &QTimer::timeout, this, &TfrmMain::writeRecovery);
  recoveryTimer_->start();
}

// Only a list that really changed since it was opened, made or saved is
// written: the modified flag, which any click sets, cannot tell.
void TfrmMain::writeRecovery() {
  if (!tree_ || changes_->changes() == writtenChanges_) return;
  const quint64 changes = changes_->changes();
  try {
    recovery_->write(*tree_, fileName_, readFrom_, comparedFile_ == fileName_ ? fingerprint_ : std::nullopt);
    writtenChanges_ = changes;
  } catch (const std::exception& error) {
    // Never a box: this must not disturb editing.
    std::fprintf(stderr, "Quillmark: recovery file not written: %s\n", error.what());
  }
}

void TfrmMain::removeRecovery() {
  recovery_->remove();
  writtenChanges_ = changes_->changes();
}

void TfrmMain::forgetList() {
  undoStack_->clear();
  removeRecovery();
}

void TfrmMain::offerRecovery() {
  runCommand(this, [this] {
    std::optional<AbandonedList> found = recovery_->newestAbandoned();
    if (!found) return;
    if (!platform::desktop().askYesNo(this, offerText(*found))) {
      RecoveryFiles::discard(*found);
      return;
    }
    // As Open: its save prompt first; Yes saves and recovers nothing yet.
    if (!mayReplaceList()) return;
    replaceTree(readTaskList(found->listPath));
    setFileName(found->fileName);
    readFrom_ = found->readFrom;
    comparedFile_ = found->fileName;
    fingerprint_ = found->fingerprint;
    setTag(1);
    // The files stay until the list is saved; this instance keeps them now.
    recovery_->adopt(std::move(*found));
    showOpenedList();
  });
}

// --- changes made elsewhere

void TfrmMain::rememberFile(const QString& path, std::optional<FileFingerprint> seen) {
  comparedFile_ = path;
  fingerprint_ = seen ? seen : fingerprintOf(platform::coreFileName(path));
}

bool TfrmMain::mayOverwrite(bool& written) {
  written = false;
  if (comparedFile_ != fileName_ || !fingerprint_ ||
      !changedSince(platform::coreFileName(fileName_), *fingerprint_))
    return true;
  const QString text =
      QStringLiteral("%1 was changed by another program since it was opened or saved. Overwrite it?")
          .arg(fileName_);
  switch (platform::desktop().askSave(this, text)) {
    case platform::SaveAnswer::Yes:
      return true;
    case platform::SaveAnswer::No:
      written = saveListAs();
      return false;
    case platform::SaveAnswer::Cancel:
      return false;
  }
  return false;
}

}  // namespace qm::ui
