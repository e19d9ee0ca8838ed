#include "pagemodel/selection_model.h"

namespace reVoziz::pagemodel {

SelectionType SelectionModel::type() const {
  if (control_) return SelectionType::Control;
  return range_ && !range_->collapsed() ? SelectionType::Text : SelectionType::None;
}

void SelectionModel::selectRange(const Boundary& start, const Boundary& end) {
  control_.reset();
  range_ = ranges_.make(start, end);
}

void SelectionModel::selectControl(NodePtr element) {
  range_.reset();
  control_ = std::move(element);
}

void SelectionModel::clear() {
  range_.reset();
  control_.reset();
}

}  // namespace reVoziz::pagemodel
