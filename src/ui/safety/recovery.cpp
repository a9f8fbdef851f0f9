#include "ui/safety/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>

#include "model/ttree.h"
#include "platform/core_file_name.h"
#include "stream/files/atomic_file.h"
#include "stream/task_list_file.h"

namespace qm::ui {
namespace {

const QString kList = QStringLiteral(".jjp");
const QString kSidecar = QStringLiteral(".json");
const QString kLock = QStringLiteral(".lock");

constexpr QFile::Permissions kOwnerFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kOwnerFolder = kOwnerFile | QFile::ExeOwner;

// Makes the missing folders of `path` for the owner alone; the recovery
// folder and the program's folder around it are narrowed to the owner even
// where an older version made them readable by others.
bool makePrivateFolders(const QString& path) {
  QStringList missing;
  for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder); folder = QFileInfo(folder).path())
    missing.prepend(folder);
  for (const QString& folder : missing)
    if (!QDir().mkdir(folder, kOwnerFolder) && !QFileInfo(folder).isDir()) return false;
  QFile::setPermissions(path, kOwnerFolder);
  QFile::setPermissions(QFileInfo(path).path(), kOwnerFolder);
  return true;
}

// A lock that only a running owner keeps: no age makes it stale, however
// long the owner runs.
std::shared_ptr<QLockFile> lockFor(const QString& path) {
  auto lock = std::make_shared<QLockFile>(path);
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  QFile::setPermissions(path, kOwnerFile);
  return lock;
}

TreeSettings withoutPlacement(TreeSettings settings) {
  settings.left = settings.top = settings.width = settings.height = 0;
  return settings;
}

QJsonObject readSidecar(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}

}  // namespace

void ChangeCounter::follow(Ttree* tree) {
  if (tree_ != nullptr) tree_->removeObserver(this);
  tree_ = tree;
  if (tree_ == nullptr) return;
  tree_->addObserver(this);
  settings_ = withoutPlacement(tree_->settings());
}

void ChangeCounter::settingsChanged() {
  const TreeSettings now = withoutPlacement(tree_->settings());
  if (now != settings_) count();
  settings_ = now;
}

// An absolute XDG_STATE_HOME wins on every system, so that a test (or a
// portable set-up) can keep a run's recovery files apart on Windows too.
QString RecoveryFiles::directory() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) {
#ifdef Q_OS_WIN
    base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);  // %LOCALAPPDATA%
#else
    base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
  }
  return base + QStringLiteral("/quillmark/recovery");
}

RecoveryFiles::RecoveryFiles() : directory_(directory()) {
  id_ = QStringLiteral("%1-%2")
            .arg(QCoreApplication::applicationPid())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
  if (makePrivateFolders(directory_)) lock_ = lockFor(pathOf(kLock));
}

RecoveryFiles::~RecoveryFiles() = default;  // the lock goes, the files stay for a later start

QString RecoveryFiles::pathOf(const QString& suffix) const { return directory_ + u'/' + id_ + suffix; }

QString RecoveryFiles::listPath() const { return pathOf(kList); }

void RecoveryFiles::write(Ttree& tree, const QString& fileName, const QString& readFrom,
                          const std::optional<FileFingerprint>& fingerprint) {
  if (!isOwned()) return;
  SaveTaskList(platform::coreFileName(pathOf(kList)), tree);
  QFile::setPermissions(pathOf(kList), kOwnerFile);  // kept by every later save
  QJsonObject sidecar{{QStringLiteral("fileName"), fileName},
                      {QStringLiteral("readFrom"), readFrom},
                      {QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
                      {QStringLiteral("tasks"), static_cast<qint64>(tree.nodeCount())}};
  if (fingerprint) {
    sidecar.insert(QStringLiteral("size"), QString::number(fingerprint->size));
    sidecar.insert(QStringLiteral("modified"), QString::number(fingerprint->modified));
    sidecar.insert(QStringLiteral("hash"), QString::number(fingerprint->hash));
  }
  const QByteArray json = QJsonDocument(sidecar).toJson(QJsonDocument::Compact);
  replaceFileAtomically(platform::coreFileName(pathOf(kSidecar)), [&](ByteSink& sink) {
    sink.write(json.constData(), static_cast<size_t>(json.size()));
  });
  QFile::setPermissions(pathOf(kSidecar), kOwnerFile);
}

void RecoveryFiles::remove() {
  // The sidecar first: a list without one is never offered.
  QFile::remove(pathOf(kSidecar));
  QFile::remove(pathOf(kList));
}

std::optional<AbandonedList> RecoveryFiles::newestAbandoned() const {
  std::optional<AbandonedList> newest;
  const QDir dir(directory_);
  for (const QString& name : dir.entryList({QStringLiteral("*") + kLock}, QDir::Files)) {
    const QString id = name.chopped(kLock.size());
    if (id != id_ && !dir.exists(id + kSidecar))
      if (std::shared_ptr<QLockFile> stale = lockFor(dir.filePath(name))) {
        QFile::remove(dir.filePath(id + kList));  // a list whose sidecar was never written
        stale->unlock();
      }
  }
  for (const QString& name : dir.entryList({QStringLiteral("*") + kSidecar}, QDir::Files)) {
    const QString id = name.chopped(kSidecar.size());
    if (id == id_) continue;
    const QJsonObject sidecar = readSidecar(dir.filePath(name));
    const QDateTime changed =
        QDateTime::fromString(sidecar.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (!changed.isValid() || (newest && newest->changed >= changed)) continue;
    std::shared_ptr<QLockFile> lock = lockFor(dir.filePath(id + kLock));
    if (lock == nullptr) continue;  // its owner still runs
    AbandonedList found{id,
                        dir.filePath(id + kList),
                        sidecar.value(QStringLiteral("fileName")).toString(),
                        sidecar.value(QStringLiteral("readFrom")).toString(),
                        changed,
                        sidecar.value(QStringLiteral("tasks")).toInteger(),
                        std::nullopt,
                        lock};
    if (sidecar.contains(QStringLiteral("hash")))
      found.fingerprint = FileFingerprint{sidecar.value(QStringLiteral("size")).toString().toULongLong(),
                                          sidecar.value(QStringLiteral("modified")).toString().toLongLong(),
                                          sidecar.value(QStringLiteral("hash")).toString().toULongLong()};
    newest = std::move(found);
  }
  return newest;
}

void RecoveryFiles::adopt(AbandonedList list) {
  remove();
  id_ = list.id;
  lock_ = std::move(list.lock);
}

void RecoveryFiles::discard(const AbandonedList& list) {
  const QDir dir(QFileInfo(list.listPath).absolutePath());
  QFile::remove(dir.filePath(list.id + kSidecar));
  QFile::remove(list.listPath);
  if (list.lock) list.lock->unlock();
}

}  // namespace qm::ui
