#pragma once
// Placing the caret and the selection in a model page by the text it shows,
// as a user clicks and drags.

#include <string_view>

#include "pagemodel/document_model.h"

namespace reVoziz::testing {

// The point `offset` bytes into the first occurrence of `text` in a text node
// under `root`; fails the test when there is none.
pagemodel::Boundary pointAt(const pagemodel::NodePtr& root, std::string_view text,
                            std::size_t offset = 0);

void placeCaret(pagemodel::DocumentModel& document, const pagemodel::NodePtr& root,
                std::string_view text, std::size_t offset = 0);
// Selects the first occurrence of `text` (within one text node).
void selectText(pagemodel::DocumentModel& document, const pagemodel::NodePtr& root,
                std::string_view text);
// The caret after the last child of `element`.
void caretAtEnd(pagemodel::DocumentModel& document, const pagemodel::NodePtr& element);

}  // namespace reVoziz::testing
