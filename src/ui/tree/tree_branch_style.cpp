#include "ui/tree/tree_branch_style.h"

#include <QStyleFactory>

namespace qm::ui {

TreeBranchStyle::TreeBranchStyle() : classic_(QStyleFactory::create(QStringLiteral("Windows"))) {}

TreeBranchStyle::~TreeBranchStyle() = default;

void TreeBranchStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  if (element == PE_IndicatorBranch && classic_ != nullptr)
    classic_->drawPrimitive(element, option, painter, widget);
  else
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace qm::ui
