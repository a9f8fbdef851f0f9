#pragma once

#include <QStringList>
#include <QtGlobal>
#include <string>

namespace qm::test {

// What QAbstractItemModelTester (in its Warning mode) finds wrong while one
// of these is alive; other messages go on as before.
class ModelFaultLog {
 public:
  ModelFaultLog() {
    faults().clear();
    previous_ = qInstallMessageHandler(record);
  }
  ~ModelFaultLog() { qInstallMessageHandler(previous_); }
  ModelFaultLog(const ModelFaultLog&) = delete;
  ModelFaultLog& operator=(const ModelFaultLog&) = delete;

  static bool empty() { return faults().isEmpty(); }
  static std::string text() { return faults().join('\n').toStdString(); }

 private:
  static QStringList& faults() {
    static QStringList list;
    return list;
  }
  static void record(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (qstrcmp(context.category, "qt.modeltest") == 0) faults().append(message);
  }

  QtMessageHandler previous_;
};

}  // namespace qm::test
