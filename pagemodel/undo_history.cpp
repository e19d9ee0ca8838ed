#include "pagemodel/undo_history.h"

namespace reVoziz::pagemodel {

void UndoHistory::record(EditStep step) {
  done_.push_back(std::move(step));
  undone_.clear();
}

const EditStep* UndoHistory::undo() {
  if (done_.empty()) return nullptr;
  undone_.push_back(std::move(done_.back()));
  done_.pop_back();
  return &undone_.back();
}

const EditStep* UndoHistory::redo() {
  if (undone_.empty()) return nullptr;
  done_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  return &done_.back();
}

}  // namespace reVoziz::pagemodel
