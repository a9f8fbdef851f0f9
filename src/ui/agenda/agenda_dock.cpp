#include "ui/agenda/agenda_dock.h"

#include <QApplication>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/agenda/agenda_model.h"

namespace qm::ui {

AgendaDock::AgendaDock(AgendaModel& model, QWidget* parent)
    : QDockWidget(model.title(), parent), model_(model) {
  setObjectName(QStringLiteral("AgendaDock"));
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
  auto* contents = new QWidget(this);
  auto* layout = new QVBoxLayout(contents);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* daysRow = new QHBoxLayout;
  lblDaysAhead = new QLabel(QStringLiteral("Days ahead"), contents);
  lblDaysAhead->setObjectName(QStringLiteral("lblDaysAhead"));
  spnDaysAhead = new QSpinBox(contents);
  spnDaysAhead->setObjectName(QStringLiteral("spnDaysAhead"));
  spnDaysAhead->setRange(0, kMaxDaysAhead);
  spnDaysAhead->setValue(kDefaultDaysAhead);
  lblDaysAhead->setBuddy(spnDaysAhead);
  daysRow->addWidget(lblDaysAhead);
  daysRow->addWidget(spnDaysAhead);
  daysRow->addStretch(1);
  layout->addLayout(daysRow);

  // A table rather than a tree: it lays out a few hundred thousand rows
  // without a pass over them all.
  lstAgenda = new QTableView(contents);
  lstAgenda->setObjectName(QStringLiteral("lstAgenda"));
  lstAgenda->setAccessibleName(QStringLiteral("Agenda"));
  lstAgenda->setModel(&model_);
  lstAgenda->setSelectionBehavior(QAbstractItemView::SelectRows);
  lstAgenda->setSelectionMode(QAbstractItemView::SingleSelection);
  lstAgenda->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstAgenda->setShowGrid(false);
  lstAgenda->setWordWrap(false);
  lstAgenda->setTabKeyNavigation(false);
  lstAgenda->verticalHeader()->hide();
  lstAgenda->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  lstAgenda->verticalHeader()->setDefaultSectionSize(lstAgenda->fontMetrics().height() + 4);
  lstAgenda->horizontalHeader()->setStretchLastSection(true);
  lstAgenda->horizontalHeader()->setHighlightSections(false);
  const QFontMetrics metrics = lstAgenda->fontMetrics();
  // As wide as the longest short date or group heading, so the title keeps
  // the room in a narrow dock.
  const QString longDate = QLocale().toString(QDate(2026, 12, 30), QLocale::ShortFormat);
  lstAgenda->setColumnWidth(
      AgendaModel::DateColumn,
      std::max(metrics.horizontalAdvance(longDate), metrics.horizontalAdvance(QStringLiteral("Tomorrow"))) +
          metrics.horizontalAdvance(QStringLiteral("xx")));
  lstAgenda->setColumnWidth(AgendaModel::PriorityColumn,
                            metrics.horizontalAdvance(QStringLiteral("Priority ")));
  lstAgenda->setColumnWidth(AgendaModel::TaskColumn, metrics.horizontalAdvance(QLatin1Char('x')) * 24);
  lstAgenda->installEventFilter(this);
  layout->addWidget(lstAgenda, 1);
  setWidget(contents);

  connect(spnDaysAhead, &QSpinBox::valueChanged, &model_, &AgendaModel::setDaysAhead);
  connect(&model_, &AgendaModel::titleChanged, this, &QDockWidget::setWindowTitle);
  // The rows are collected again after every edit; the reader keeps his place.
  connect(&model_, &QAbstractItemModel::modelAboutToBeReset, this,
          [this] { keptScroll_ = lstAgenda->verticalScrollBar()->value(); });
  connect(&model_, &QAbstractItemModel::modelReset, this, &AgendaDock::showRows);
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget* /*old*/, QWidget* now) { hadFocus_ = now != nullptr && isAncestorOf(now); });
  connect(lstAgenda, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& i) { goToRow(i.row()); });
}

void AgendaDock::showRows() {
  // Headings span the table.
  lstAgenda->clearSpans();
  for (int row : model_.headingRows()) lstAgenda->setSpan(row, 0, 1, AgendaModel::ColumnCount);
  setWindowTitle(model_.title());
  lstAgenda->verticalScrollBar()->setValue(keptScroll_);
}

void AgendaDock::goToRow(int row) {
  if (TreeNode* task = model_.taskAt(row)) Q_EMIT goToTask(task);
}

bool AgendaDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstAgenda && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        lstAgenda->currentIndex().isValid()) {
      goToRow(lstAgenda->currentIndex().row());
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

}  // namespace qm::ui
