#pragma once

#include <QValidator>

namespace qm::ui {

// Accepts texts of at most `maxBytes` bytes once encoded in UTF-8: the most a
// task title keeps in the file, so that nothing typed is lost at the next
// save. (QLineEdit::maxLength counts characters, not bytes.)
class Utf8LengthValidator : public QValidator {
  Q_OBJECT
 public:
  explicit Utf8LengthValidator(qsizetype maxBytes, QObject* parent = nullptr);

  State validate(QString& input, int& pos) const override;
  qsizetype maxBytes() const { return maxBytes_; }

 private:
  qsizetype maxBytes_;
};

}  // namespace qm::ui
