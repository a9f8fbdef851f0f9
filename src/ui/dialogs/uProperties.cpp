#include "ui/dialogs/uProperties.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string>

#include "model/ttree.h"
#include "ui/dialogs/day_picker.h"
#include "ui/dialogs/label_fit.h"
#include "ui/edits/command.h"

namespace qm::ui {
namespace {

const QColor kSkyBlue(166, 202, 240);
constexpr QPoint kScreenPosition(232, 171);
constexpr QSize kClientSize(447, 426);
constexpr std::string_view kCompleteStatus = "Complete";

// Flat-button tabs: no tab frames, the page shown marked like a pressed button.
constexpr const char* kFlatButtonTabs =
    "QTabBar::tab { border: 1px solid transparent; padding: 3px 8px; margin: 2px; }"
    "QTabBar::tab:selected { border: 1px solid palette(dark); background: palette(midlight); }"
    "QTabBar::tab:hover:!selected { border: 1px solid palette(mid); }";

QLabel* staticText(const char* name, const QString& text, const QRect& geometry, QWidget* page) {
  auto* label = new QLabel(text, page);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  return label;
}

QComboBox* editableList(const char* name, const QRect& geometry, QWidget* page) {
  auto* list = new QComboBox(page);
  list->setObjectName(QLatin1String(name));
  list->setGeometry(geometry);
  list->setEditable(true);
  // Text is stored exactly as typed: no entries added by Enter, and no
  // completer, whose inline completion and case-blind matching would turn
  // "complete" into "Complete".
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setCompleter(nullptr);
  return list;
}

// Notes hold CR LF line breaks, as task-list files carry them. The raw text
// of the box is taken, since toPlainText() would also turn no-break spaces
// into plain ones.
QString noteForDisplay(const std::string& note) { return QString::fromStdString(note); }

std::string noteOfRecord(const QPlainTextEdit& box) {
  QString text = box.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
  text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
  return text.toStdString();
}

}  // namespace

TfrmProperties::TfrmProperties(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Note"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  QPalette skyBlue = palette();
  skyBlue.setColor(QPalette::Window, kSkyBlue);
  setPalette(skyBlue);
  setAutoFillBackground(true);
  setFixedSize(kClientSize);
  move(kScreenPosition);

  // The tab order is the order of creation: OK, Cancel, the page tabs, then
  // the pages' controls. (QWidget::setTabOrder drops the inner widgets of
  // pickers and lists from the chain in Qt 6.4.)
  createButtons();
  createPages();
  createDatePage();
  createNotePage();
  FormCreate();
  fitLabels(this);
  cmdOK->setFocus();
}

void TfrmProperties::createPages() {
  pageControl = new QTabWidget(this);
  pageControl->setObjectName(QStringLiteral("pageControl"));
  pageControl->setGeometry(10, 10, 425, 375);
  pageControl->setDocumentMode(true);
  pageControl->tabBar()->setStyleSheet(QLatin1String(kFlatButtonTabs));
  for (const char* caption : {"Date", "Note"}) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("ts") + QLatin1String(caption));
    pageControl->addTab(page, QLatin1String(caption));
  }
  tsDate = pageControl->widget(0);
  tsNote = pageControl->widget(1);
  pageControl->setCurrentIndex(0);
}

void TfrmProperties::createDatePage() {
  // The frame is a plain sibling drawn under the pickers and their labels;
  // it holds no controls of its own.
  GroupBox1 = new QGroupBox(QStringLiteral("Date"), tsDate);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(8, 24, 281, 89);

  DateTimePicker3 = new DayPicker(kStartTimeOfDay, tsDate);
  DateTimePicker3->setObjectName(QStringLiteral("DateTimePicker3"));
  DateTimePicker3->setGeometry(80, 40, 186, 21);
  DateTimePicker2 = new DayPicker(kEndTimeOfDay, tsDate);
  DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
  DateTimePicker2->setGeometry(80, 72, 186, 21);
  StaticText1 = staticText("StaticText1", QStringLiteral("Start Date:"), {16, 40, 55, 17}, tsDate);
  StaticText2 = staticText("StaticText2", QStringLiteral("End Date:"), {16, 72, 52, 17}, tsDate);

  cboPriority = editableList("cboPriority", {80, 136, 73, 21}, tsDate);
  StaticText3 = staticText("StaticText3", QStringLiteral("Priority"), {40, 136, 35, 17}, tsDate);
  Status = staticText("Status", QStringLiteral("Status"), {40, 160, 34, 17}, tsDate);
  cboStatus = editableList("cboStatus", {80, 160, 97, 21}, tsDate);
  // Each label names its control for screen readers.
  for (auto [label, control] : {std::pair<QLabel*, QWidget*>{StaticText1, DateTimePicker3},
                                {StaticText2, DateTimePicker2},
                                {StaticText3, cboPriority},
                                {Status, cboStatus}})
    label->setBuddy(control);
}

void TfrmProperties::createNotePage() {
  // At the page's top left corner, 417 wide, and no taller than the page, so
  // that its last line and its scroll bar are in sight: a long note can be
  // read to its end.
  Memo1 = new QPlainTextEdit(tsNote);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setAccessibleName(QStringLiteral("Note"));
  Memo1->setFixedWidth(417);
  auto* fill = new QVBoxLayout(tsNote);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(Memo1, 0, Qt::AlignLeft);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setTabChangesFocus(true);
  Memo1->setPlainText(QStringLiteral("\n "));
}

void TfrmProperties::createButtons() {
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setGeometry(264, 392, 75, 25);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setGeometry(352, 392, 75, 25);
  // Cancel answers Enter wherever the focused control does not take it; OK
  // answers Enter only while it has the focus itself (autoDefault). Escape
  // and the close box reject, which is Cancel.
  cmdCancel->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, [this] { runCommand(this, [this] { cmdOKClick(); }); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { runCommand(this, [this] { cmdCancelClick(); }); });
}

void TfrmProperties::FormCreate() {
  DateTimePicker3->setDate(QDate::currentDate());
  DateTimePicker2->setDate(QDate::currentDate());
  cboPriority->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
  cboStatus->addItems(
      {QStringLiteral("Not Started"), QStringLiteral("In Progress"), QStringLiteral("Complete")});
  cboPriority->setCurrentIndex(-1);
  cboStatus->setCurrentIndex(-1);
}

TfrmProperties* TfrmProperties::open(Ttree* tree, TreeNode* selected) {
  auto* dialog = new TfrmProperties;
  dialog->fillFrom(tree, selected);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  return dialog;
}

void TfrmProperties::fillFrom(Ttree* tree, TreeNode* node) {
  if (tree == nullptr || node == nullptr || node->record() == nullptr) return;
  record_ = node->record();
  task_.watch(tree, node);

  Memo1->setPlainText(noteForDisplay(record_->note));
  cboPriority->setEditText(QString::fromStdString(record_->priority));
  cboStatus->setEditText(QString::fromStdString(record_->status));
  // A record never saved through the dialog keeps both pickers at today.
  if (record_->taskstart != 0) {
    DateTimePicker3->setDayOf(record_->taskstart);
    DateTimePicker2->setDayOf(record_->taskend);
  }
}

Tinfo* TfrmProperties::target() const {
  TreeNode* node = task_.node();
  return node != nullptr && node->record() == record_ ? record_ : nullptr;
}

void TfrmProperties::cmdOKClick() {
  SaveClick();
  accept();
}

void TfrmProperties::SaveClick() {
  Tinfo* record = target();
  if (record == nullptr) return;
  const RecordFields before = RecordFields::of(*record);
  record->note = noteOfRecord(*Memo1);
  record->taskstart = DateTimePicker3->dayCount();
  record->taskend = DateTimePicker2->dayCount();
  record->priority = cboPriority->currentText().toStdString();
  record->status = cboStatus->currentText().toStdString();
  // Only ever sets the ticked box; the tree view takes it at its next click.
  if (record->status == kCompleteStatus) record->icon = kTickedBoxImage;
  if (onRecordWritten) onRecordWritten(task_.node(), *record, before);
}

void TfrmProperties::cmdCancelClick() { reject(); }

}  // namespace qm::ui
