#include "ui/tree/utf8_length_validator.h"

namespace qm::ui {

Utf8LengthValidator::Utf8LengthValidator(qsizetype maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes) {}

QValidator::State Utf8LengthValidator::validate(QString& input, int& /*pos*/) const {
  return input.toUtf8().size() <= maxBytes_ ? Acceptable : Invalid;
}

}  // namespace qm::ui
