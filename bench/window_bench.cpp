// The main window's commands on big lists, each timed on the UI thread's CPU
// clock up to and including the repaint that shows its result: the budget
// is a frame (16 ms) at 1,000,000 tasks. Runs offscreen, so it leaves out
// X11's share (the X server, the window manager, the session bus) and the
// time the program waits for a CPU: a start as a user sees it, under Xvfb
// with openbox and a session bus, is timed by scripts/start-timing.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "model/task_dates.h"
#include "model/ttree.h"
#include "platform/desktop.h"
#include "sample_cache.h"
#include "sample_list.h"
#include "stream/task_list_file.h"
#include "ui/agenda/agenda_collector.h"
#include "ui/agenda/agenda_dock.h"
#include "ui/agenda/agenda_model.h"
#include "ui/find/find_bar.h"
#include "ui/main_window/uMain.h"
#include "ui/tree/task_tree_model.h"

namespace qm::bench {
namespace {

// The child's argument for BM_WindowOpenFreshProcess.
const QString kOpenOnce = QStringLiteral("--open-once");

double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Nothing here may ask the user anything: a box would wait forever.
class FailingDesktop : public platform::Desktop {
 public:
  void showError(QWidget*, const QString& message, const QString& details) override {
    fail(message + QStringLiteral(": ") + details);
  }
  platform::SaveAnswer askSave(QWidget*, const QString& text) override {
    fail(text);
    return platform::SaveAnswer::Cancel;
  }
  bool askYesNo(QWidget*, const QString& text) override { fail(text); }
  void confirmOk(QWidget*, const QString& text) override { fail(text); }
  void inform(QWidget*, const QString& text) override { fail(text); }
  // The open dialog's answer.
  QString fileToOpen;
  std::optional<QString> openFileName(QWidget*, const platform::FileDialogRequest&) override {
    if (fileToOpen.isEmpty()) return std::nullopt;
    return fileToOpen;
  }
  std::optional<QString> saveFileName(QWidget*, const platform::FileDialogRequest&) override { return {}; }
  bool askReplace(QWidget*, const QString& fileName) override { fail(fileName); }

 private:
  [[noreturn]] static void fail(const QString& text) {
    std::fprintf(stderr, "window_bench: unexpected prompt: %s\n", qPrintable(text));
    std::abort();
  }
};

// Counts the paints of one widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Runs the event loop until `widget` has painted, then once more so that
// what the paint posted is done too.
void processUntilPainted(QWidget* widget) {
  PaintCounter counter;
  widget->installEventFilter(&counter);
  for (int i = 0; i < 100 && counter.paints == 0; ++i) QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  widget->removeEventFilter(&counter);
}

// The generated list of that size as a file, written once per process.
const std::string& sampleFile(size_t tasks) {
  static std::map<size_t, std::string> files;
  auto found = files.find(tasks);
  if (found != files.end()) return found->second;
  std::string path = scratchPath("window-" + std::to_string(tasks) + ".jjp");
  {
    Ttree tree;
    tree.setSettings(TreeSettings::mainWindowInitial());
    sample::appendSampleTasks(tree, tasks);
    SaveTaskList(path, tree);
  }
  return files.emplace(tasks, path).first->second;
}

std::unique_ptr<ui::TfrmMain> openWindow(const std::string& path) {
  auto window = std::make_unique<ui::TfrmMain>(QString::fromStdString(path));
  window->resize(800, 600);
  window->show();
  processUntilPainted(window->treeView()->viewport());
  return window;
}

// One open window per size, shared by the edit benchmarks; the edits leave
// the list as they found it.
struct OpenList {
  size_t tasks = 0;
  std::unique_ptr<ui::TfrmMain> window;
  TreeNode* middle = nullptr;        // a top-level task in the middle of the list
  TreeNode* manyChildren = nullptr;  // a collapsed top-level task with 10,000 children
  TreeNode* middleChild = nullptr;   // the first child of a top-level task near the middle

  Ttree& tree() { return *window->tree(); }
  ui::TaskTreeView& view() { return *window->treeView(); }
  QWidget* viewport() { return view().viewport(); }
  void settle() { processUntilPainted(viewport()); }
  // Takes out what a benchmark added and goes back to the middle task.
  void removeAndReturn(TreeNode* added) {
    tree().deleteNode(added);
    selectAndShow(middle);
  }
  void selectAndShow(TreeNode* node) {
    tree().select(node);
    view().scrollTo(window->treeModel()->indexOf(node));
    settle();
  }
};

OpenList& sharedList() {
  static OpenList list;
  return list;
}

OpenList& openList(size_t tasks) {
  OpenList& list = sharedList();
  if (list.tasks == tasks) return list;
  list.window.reset();
  list.tasks = tasks;
  list.window = openWindow(sampleFile(tasks));
  list.window->activateWindow();
  (void)QTest::qWaitForWindowActive(list.window.get());
  Ttree& tree = list.tree();
  list.manyChildren = tree.appendNode(nullptr, "ten thousand subtasks", tree.createRecord());
  for (int i = 0; i < 10'000; ++i) tree.appendNode(list.manyChildren, "subtask", tree.createRecord());
  list.middle = tree.root()->child(tree.topLevelCount() / 2);
  for (size_t row = tree.topLevelCount() / 2; list.middleChild == nullptr; ++row)
    if (tree.root()->child(row)->hasChildren()) list.middleChild = tree.root()->child(row)->child(0);
  list.selectAndShow(list.middle);
  return list;
}

void applySizes(benchmark::internal::Benchmark* b) {
  b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseManualTime();
}

// Times `step` on the UI thread up to the repaint; `prepare` and `undo` run
// untimed around it.
template <class Prepare, class Step, class Undo>
void timeSteps(benchmark::State& state, OpenList& list, Prepare prepare, Step step, Undo undo) {
  for (auto _ : state) {
    prepare();
    list.settle();
    double start = threadSeconds();
    step();
    list.settle();
    state.SetIterationTime(threadSeconds() - start);
    undo();
    list.settle();
  }
}

// From constructing the window with the file on its command line until it
// is painted, as at start-up; the closing is not timed.
void BM_WindowOpen(benchmark::State& state) {
  const std::string& path = sampleFile(static_cast<size_t>(state.range(0)));
  sharedList() = {};  // no other big list in memory
  for (auto _ : state) {
    double start = threadSeconds();
    auto window = openWindow(path);
    state.SetIterationTime(threadSeconds() - start);
    window.reset();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_WindowOpen)->Apply(applySizes)->Iterations(3);

// The same from the start of a fresh process, as the program starts with a
// file on its command line: the child reports its UI thread's CPU time once
// the window is painted, which includes loading the libraries, building the
// application and giving the list fresh pages.
void BM_WindowOpenFreshProcess(benchmark::State& state) {
  const std::string& path = sampleFile(static_cast<size_t>(state.range(0)));
  sharedList() = {};
  for (auto _ : state) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {kOpenOnce, QString::fromStdString(path)});
    if (!child.waitForFinished(60'000) || child.exitCode() != 0) {
      state.SkipWithError("the child did not open the list");
      break;
    }
    state.SetIterationTime(child.readAllStandardOutput().trimmed().toDouble());
  }
}
BENCHMARK(BM_WindowOpenFreshProcess)->Apply(applySizes)->Iterations(3);

FailingDesktop& benchDesktop() {
  static FailingDesktop desktop;
  return desktop;
}

// Open with a list of the same size already shown: the new list is read
// aside, takes the window's view and the old one is given back.
void BM_WindowReopen(benchmark::State& state) {
  const std::string& path = sampleFile(static_cast<size_t>(state.range(0)));
  sharedList() = {};
  auto window = openWindow(path);
  benchDesktop().fileToOpen = QString::fromStdString(path);
  for (auto _ : state) {
    window->setTag(0);  // nothing to save first
    double start = threadSeconds();
    window->cmdOpenClick(nullptr);
    processUntilPainted(window->treeView()->viewport());
    state.SetIterationTime(threadSeconds() - start);
  }
}
BENCHMARK(BM_WindowReopen)->Apply(applySizes)->Iterations(3);

void BM_WindowInsert(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  timeSteps(
      state, list, [] {}, [&] { list.window->cmdNewNodeClick(nullptr); },
      [&] {
        QTest::keyClick(list.view().titleEditor(), Qt::Key_Escape);
        list.removeAndReturn(list.tree().selected());
      });
}
BENCHMARK(BM_WindowInsert)->Apply(applySizes);

void BM_WindowDelete(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  timeSteps(
      state, list,
      [&] {
        TreeNode* doomed = list.tree().appendNode(nullptr, "to be deleted", list.tree().createRecord());
        list.selectAndShow(doomed);
      },
      [&] { list.window->tbDeleteNodeClick(nullptr); }, [&] { list.selectAndShow(list.middle); });
}
BENCHMARK(BM_WindowDelete)->Apply(applySizes);

// Two new top-level tasks at the end; the second is selected.
TreeNode* appendPair(OpenList& list) {
  TreeNode* first = list.tree().appendNode(nullptr, "new parent", list.tree().createRecord());
  list.selectAndShow(list.tree().appendNode(nullptr, "moved", list.tree().createRecord()));
  return first;
}

void BM_WindowIndent(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  TreeNode* parent = nullptr;
  timeSteps(
      state, list, [&] { parent = appendPair(list); },
      [&] { QTest::keyClick(&list.view(), Qt::Key_Tab, Qt::ControlModifier); },
      [&] { list.removeAndReturn(parent); });
}
BENCHMARK(BM_WindowIndent)->Apply(applySizes);

void BM_WindowDrop(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  TreeNode* parent = nullptr;
  QPoint target;
  timeSteps(
      state, list,
      [&] {
        parent = appendPair(list);
        target = list.view().visualRect(list.window->treeModel()->indexOf(parent)).center();
      },
      [&] { list.window->TreeDragDrop(&list.view(), &list.view(), target.x(), target.y()); },
      [&] { list.removeAndReturn(parent); });
}
BENCHMARK(BM_WindowDrop)->Apply(applySizes);

// A confirmed in-place edit of the middle task's title.
void BM_WindowRename(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  ui::TaskTreeModel& model = *list.window->treeModel();
  bool flip = false;
  timeSteps(
      state, list, [] {},
      [&] {
        flip = !flip;
        model.setData(model.indexOf(list.middle), flip ? QStringLiteral("renamed") : QStringLiteral("again"));
      },
      [] {});
}
BENCHMARK(BM_WindowRename)->Apply(applySizes);

void BM_WindowComplete(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  timeSteps(
      state, list, [] {}, [&] { list.window->Complete1Click(nullptr); },
      [&] { list.tree().setImageIndex(list.middle, 0); });
}
BENCHMARK(BM_WindowComplete)->Apply(applySizes);

void BM_WindowExpand(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  QModelIndex index = list.window->treeModel()->indexOf(list.manyChildren);
  timeSteps(
      state, list, [&] { list.view().scrollTo(index); }, [&] { list.view().expand(index); },
      [&] { list.view().collapse(index); });
}
BENCHMARK(BM_WindowExpand)->Apply(applySizes);

void BM_WindowCollapse(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  QModelIndex index = list.window->treeModel()->indexOf(list.manyChildren);
  timeSteps(
      state, list,
      [&] {
        list.view().expand(index);
        list.view().scrollTo(index);
      },
      [&] { list.view().collapse(index); }, [] {});
}
BENCHMARK(BM_WindowCollapse)->Apply(applySizes);

void BM_WindowScrollPage(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  QScrollBar* bar = list.view().verticalScrollBar();
  bool down = false;
  timeSteps(
      state, list, [] {},
      [&] {
        down = !down;
        bar->triggerAction(down ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
      },
      [] {});
}
BENCHMARK(BM_WindowScrollPage)->Apply(applySizes);

// With the agenda shown: the edit and its repaint, not the agenda's
// collecting again, which follows in slices of its own.
template <class Step, class Undo>
void timeWithAgenda(benchmark::State& state, OpenList& list, Step step, Undo undo) {
  ui::AgendaModel& agenda = list.window->agendaDock()->model();
  list.window->mnuAgenda->trigger();
  (void)QTest::qWaitFor([&] { return !agenda.isCollecting(); }, 120'000);
  timeSteps(
      state, list, [] {}, step,
      [&] {
        undo();
        (void)QTest::qWaitFor([&] { return !agenda.isCollecting(); }, 120'000);
      });
  state.counters["agenda_rows"] = agenda.rowCount();
  list.window->mnuAgenda->trigger();
}

void BM_WindowCompleteWithAgenda(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  timeWithAgenda(
      state, list, [&] { list.window->Complete1Click(nullptr); },
      [&] { list.window->mnuUndoClick(nullptr); });
}
BENCHMARK(BM_WindowCompleteWithAgenda)->Apply(applySizes)->Iterations(10);

void BM_WindowRenameWithAgenda(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  ui::TaskTreeModel& model = *list.window->treeModel();
  timeWithAgenda(
      state, list, [&] { model.setData(model.indexOf(list.middle), QStringLiteral("renamed")); },
      [&] { list.window->mnuUndoClick(nullptr); });
}
BENCHMARK(BM_WindowRenameWithAgenda)->Apply(applySizes)->Iterations(10);

// The agenda collected from scratch over the whole list: the sum of its
// slices on the UI thread; the longest slice is reported beside it.
void BM_WindowAgendaCollect(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  ui::AgendaModel& agenda = list.window->agendaDock()->model();
  double longest = 0;
  for (auto _ : state) {
    double total = 0;
    double start = threadSeconds();
    list.window->mnuAgenda->trigger();
    total += threadSeconds() - start;
    while (agenda.isCollecting()) {
      start = threadSeconds();
      QCoreApplication::processEvents();
      const double slice = threadSeconds() - start;
      total += slice;
      longest = std::max(longest, slice);
    }
    state.SetIterationTime(total);
    list.window->mnuAgenda->trigger();
  }
  state.counters["longest_slice_ms"] = longest * 1000;
}
BENCHMARK(BM_WindowAgendaCollect)->Apply(applySizes)->Iterations(3);

// The daily reminder's count as a list opens: every task looked at, the
// counts and the first three titles kept.
void BM_ReminderCount(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  size_t found = 0;
  for (auto _ : state) {
    double start = threadSeconds();
    ui::AgendaCollector counter(localToday(), 0, 3);
    while (!counter.collectSome(list.tree(), std::chrono::hours(1))) {
    }
    found = counter.overdue() + counter.dueToday();
    state.SetIterationTime(threadSeconds() - start);
  }
  state.counters["due"] = static_cast<double>(found);
}
BENCHMARK(BM_ReminderCount)->Apply(applySizes)->Iterations(3);

// The worst key in the find bar: "plan" is found everywhere, "plant" and
// "planz" nowhere, so the search goes round the whole list (its copy of
// the texts, made once the bar opened). The two take turns, since a text
// holding the last one missed is known to miss.
void BM_WindowFindKeyMatchingNothing(benchmark::State& state) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  ui::FindBar& bar = *list.window->findBar();
  bar.open();
  bar.txtFind->setText(QStringLiteral("plan"));
  bool ready = QTest::qWaitFor([&] { return !bar.isCopyingTexts(); }, 60'000);
  bool turn = false;
  timeSteps(
      state, list, [] {},
      [&] {
        turn = !turn;
        QTest::keyClick(bar.txtFind, turn ? Qt::Key_T : Qt::Key_Z);
      },
      [&] {
        QTest::keyClick(bar.txtFind, Qt::Key_Backspace);
        (void)QTest::qWaitFor([&] { return !bar.isCounting(); }, 60'000);
      });
  state.counters["copy_was_made"] = ready ? 1 : 0;
  bar.close();
  list.selectAndShow(list.middle);
}
BENCHMARK(BM_WindowFindKeyMatchingNothing)->Apply(applySizes)->Iterations(20);

// An Outline item on a task among the top level's siblings (about 90,000 at
// a million tasks), or its undo: the other runs untimed around it.
void BM_WindowOutline(benchmark::State& state, QAction* ui::TfrmMain::*item, TreeNode* OpenList::*task,
                      bool timeUndo) {
  OpenList& list = openList(static_cast<size_t>(state.range(0)));
  ui::TfrmMain& window = *list.window;
  auto command = [&] { (window.*item)->trigger(); };
  auto undo = [&] { window.mnuUndo->trigger(); };  // confirms the new task's title first
  auto select = [&] { list.selectAndShow(list.*task); };
  state.counters["siblings"] = static_cast<double>((list.*task)->parent()->childCount());
  if (timeUndo) {
    timeSteps(
        state, list,
        [&] {
          select();
          command();
        },
        undo, [] {});
  } else {
    timeSteps(state, list, select, command, undo);
  }
  list.selectAndShow(list.middle);
}
using W = ui::TfrmMain;
BENCHMARK_CAPTURE(BM_WindowOutline, move_up, &W::mnuMoveUp, &OpenList::middle, false)->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_move_up, &W::mnuMoveUp, &OpenList::middle, true)->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, move_down, &W::mnuMoveDown, &OpenList::middle, false)->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_move_down, &W::mnuMoveDown, &OpenList::middle, true)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, indent, &W::mnuIndent, &OpenList::middle, false)->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_indent, &W::mnuIndent, &OpenList::middle, true)->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, outdent, &W::mnuOutdent, &OpenList::middleChild, false)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_outdent, &W::mnuOutdent, &OpenList::middleChild, true)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, insert_below, &W::mnuInsertBelow, &OpenList::middle, false)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_insert_below, &W::mnuInsertBelow, &OpenList::middle, true)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, insert_child, &W::mnuInsertChild, &OpenList::middle, false)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_insert_child, &W::mnuInsertChild, &OpenList::middle, true)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, toggle_done, &W::mnuToggleDone, &OpenList::middle, false)
    ->Apply(applySizes);
BENCHMARK_CAPTURE(BM_WindowOutline, undo_toggle_done, &W::mnuToggleDone, &OpenList::middle, true)
    ->Apply(applySizes);

}  // namespace
}  // namespace qm::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configHome;  // never the user's own settings
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmark"));
  QApplication::setQuitOnLastWindowClosed(false);
  qm::platform::setDesktop(&qm::bench::benchDesktop());
  if (argc == 3 && QString::fromLocal8Bit(argv[1]) == qm::bench::kOpenOnce) {
    auto window = qm::bench::openWindow(argv[2]);
    std::printf("%.6f\n", qm::bench::threadSeconds());
    std::fflush(stdout);
    std::_Exit(0);  // the closing is not part of the start
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qm::bench::sharedList().window.reset();  // while the application lives
  qm::platform::setDesktop(nullptr);
  return 0;
}
