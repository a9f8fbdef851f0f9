#pragma once

#include "stream/component_class.h"

namespace qm {

// Ttree in a stream: the published properties of the tree control that reach
// a task list (Name, Tag, position and size, Align, BorderStyle, Color,
// DragMode, Images, Indent, TabOrder, the node collection Items with its
// binary Data, test1) and the control's defined IsControl and DesignSize.
// Its children are the task records, named and handed out by NameRecords;
// its post-read step is LinkRecords.
const ComponentClass& treeClass();

}  // namespace qm
