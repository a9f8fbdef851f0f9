#pragma once

namespace qm::ui {
class TfrmMain;
}

namespace qm::app {

// For tests that run the program itself (a crash, then a recovery): the
// environment variable QUILLMARK_TEST_SCRIPT holds steps separated by ";".
// "yes", "no", "cancel", "open=PATH" and "save=PATH" answer the program's
// prompts and file dialogs in their order; any other step names a main
// window menu item (its objectName, e.g. "mnuInsert") to choose, or is
// "title=TEXT", which confirms TEXT in the open title editor, or
// "await=PATH", which holds the steps after it until PATH exists (for a
// harness that first looks at the window from outside). The items are
// chosen one after the other once the start is done. Each prompt is printed
// on standard error as "prompt: TEXT". Without the variable this does
// nothing; returns whether a script runs.
bool runTestScript(ui::TfrmMain& window);

}  // namespace qm::app
