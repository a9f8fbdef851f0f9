#pragma once

#include <span>

#include "model/tree_settings.h"
#include "stream/components/component_class.h"
#include "stream/components/saved_property.h"

namespace qm {

// Ttree in a stream: the published properties of the tree control that reach
// a task list (Name, Tag, position and size, Align, BorderStyle, Color,
// DragMode, Images, Indent, TabOrder, the node collection Items with its
// binary Data, test1) and the control's defined IsControl and DesignSize.
// Its children are the task records, named and handed out by NameRecords;
// its post-read step is LinkRecords.
const ComponentClass& treeClass();
// The tree's saved properties, in the order they are written; all but Name
// and Tag live in its settings.
std::span<const SavedProperty<TreeSettings>> treeProperties();

}  // namespace qm
