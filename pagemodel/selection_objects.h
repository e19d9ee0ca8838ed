#pragma once
// What the page's script sees of the selection: `document.selection`, its
// text ranges and its control ranges.

#include <memory>

#include "core/object.h"
#include "pagemodel/live_range.h"

namespace reVoziz::pagemodel {

class DocumentModel;

std::shared_ptr<Object> makeSelectionObject(std::shared_ptr<DocumentModel> document);

// A text range over `range`, which the range object keeps live.
class TextRangeObject : public Object {
 public:
  TextRangeObject(std::shared_ptr<DocumentModel> document, std::shared_ptr<LiveRange> range)
      : document_(std::move(document)), range_(std::move(range)) {}
  const LiveRange& range() const { return *range_; }

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "DispHTMLTextRange"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  std::shared_ptr<DocumentModel> document_;
  std::shared_ptr<LiveRange> range_;
};

}  // namespace reVoziz::pagemodel
