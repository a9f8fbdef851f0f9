#include "ui/access/captioned_label.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace qm::ui {
namespace {

constexpr const char* kCaption = "qmAccessibleCaption";

class CaptionedLabel : public QAccessibleWidget {
 public:
  explicit CaptionedLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
    const QString caption = widget()->property(kCaption).toString();
    const QString shown = static_cast<const QLabel*>(widget())->text();
    return shown.isEmpty() ? caption : caption + QStringLiteral(": ") + shown;
  }
};

QAccessibleInterface* captionedLabels(const QString& /*className*/, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  if (label == nullptr || !label->property(kCaption).isValid()) return nullptr;
  return new CaptionedLabel(label);
}

}  // namespace

void setAccessibleCaption(QLabel* label, const QString& caption) {
  static const bool installed = [] {
    QAccessible::installFactory(&captionedLabels);
    return true;
  }();
  (void)installed;
  label->setProperty(kCaption, caption);
}

}  // namespace qm::ui
