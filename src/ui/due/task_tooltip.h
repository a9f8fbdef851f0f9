#pragma once

#include <QString>

namespace qm {
class TreeNode;
}

namespace qm::ui {

// A task's tooltip in the tree: the title when the row cuts it, then the
// start and end dates, priority, status and the first lines of the note
// (at most 10 lines or 500 characters). Plain text; empty when there is
// nothing to show.
QString taskToolTip(const TreeNode& task, bool titleCut);

// The text as a tooltip shows it literally, line breaks kept: a note that
// looks like markup is not rendered as such.
QString toolTipMarkup(const QString& plainText);

}  // namespace qm::ui
