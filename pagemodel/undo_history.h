#pragma once
// The undo history of a document's editing commands. Each step remembers the
// markup of the editing host before and after the command; changes a script
// makes through the object model are not steps, as in current browsers.

#include <string>
#include <vector>

#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

struct EditStep {
  NodePtr host;
  std::string before;
  std::string after;
};

class UndoHistory {
 public:
  // A new step; what was undone can no longer be redone.
  void record(EditStep step);
  // The step to take back or to take again, now moved to the other list;
  // null when there is none.
  const EditStep* undo();
  const EditStep* redo();

 private:
  std::vector<EditStep> done_;
  std::vector<EditStep> undone_;
};

}  // namespace reVoziz::pagemodel
