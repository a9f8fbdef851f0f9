#pragma once

namespace qm::ui {

class TfrmMain;

// Names the main window's controls for assistive technology: the tool
// buttons after their commands, the bars, and the status panels by what
// they show. Menu items and buttons with a caption are named by it already.
void nameMainWindowControls(TfrmMain& window);

}  // namespace qm::ui
