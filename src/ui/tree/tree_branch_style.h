#pragma once

#include <QProxyStyle>
#include <memory>

namespace qm::ui {

// The application's style, except that tree branches are drawn as the
// classic tree control draws them: dotted lines between tasks and boxed
// expand and collapse buttons, which most modern styles leave out.
class TreeBranchStyle : public QProxyStyle {
  Q_OBJECT
 public:
  TreeBranchStyle();
  ~TreeBranchStyle() override;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

 private:
  std::unique_ptr<QStyle> classic_;
};

}  // namespace qm::ui
