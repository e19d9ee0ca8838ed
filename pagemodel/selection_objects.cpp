#include "pagemodel/selection_objects.h"

#include "pagemodel/document_model.h"
#include "pagemodel/editing_commands.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"
#include "pagemodel/member_args.h"
#include "pagemodel/range_content.h"

namespace reVoziz::pagemodel {
namespace {

NodePtr nodeArgOf(std::span<const Value> args, std::size_t i) {
  auto node = std::dynamic_pointer_cast<Node>(arg(args, i).toObject());
  if (!node || !node->isElement()) {
    throw Error(ErrorCode::TypeMismatch, "An element of this page was expected");
  }
  return node;
}

// The object selected as a whole, behind a control range.
class ControlRangeObject : public Object {
 public:
  ControlRangeObject(std::shared_ptr<DocumentModel> document, NodePtr control)
      : document_(std::move(document)), control_(std::move(control)) {}

  Value get(std::string_view member) override {
    if (member == "length") return 1;
    throw memberNotFound(member);
  }
  void put(std::string_view member, const Value&) override { throw memberNotFound(member); }
  Value call(std::string_view method, std::span<const Value> args) override {
    if (method == "item") {
      if (arg(args, 0).toInt32() != 0) throw Error(ErrorCode::InvalidArgument, "Invalid argument");
      return std::shared_ptr<Object>(control_);
    }
    if (method == "select") {
      document_->selection().selectControl(control_);
      return {};
    }
    throw memberNotFound(method);
  }
  std::string typeName() const override { return "DispHTMLControlRange"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  std::shared_ptr<DocumentModel> document_;
  NodePtr control_;
};

class SelectionObject : public Object {
 public:
  explicit SelectionObject(std::shared_ptr<DocumentModel> document) : document_(std::move(document)) {}

  Value get(std::string_view member) override {
    if (member == "type") {
      switch (document_->selection().type()) {
        case SelectionType::None: return "None";
        case SelectionType::Text: return "Text";
        case SelectionType::Control: return "Control";
      }
    }
    throw memberNotFound(member);
  }
  void put(std::string_view member, const Value&) override { throw memberNotFound(member); }
  Value call(std::string_view method, std::span<const Value>) override {
    SelectionModel& selection = document_->selection();
    if (method == "createRange") {
      if (selection.control()) {
        return std::shared_ptr<Object>(std::make_shared<ControlRangeObject>(document_, selection.control()));
      }
      // Without a caret, a range at the start of the body.
      Boundary start{document_->body() ? document_->body() : document_->root(), 0};
      Boundary end = start;
      if (const auto& r = selection.range()) {
        start = r->start;
        end = r->end;
      }
      return std::shared_ptr<Object>(std::make_shared<TextRangeObject>(
          document_, document_->liveRanges().make(start, end)));
    }
    if (method == "empty" || method == "clear") {
      selection.clear();
      return {};
    }
    throw memberNotFound(method);
  }
  std::string typeName() const override { return "DispHTMLSelection"; }
  bool sameAs(const Object& other) const override {
    const auto* o = dynamic_cast<const SelectionObject*>(&other);
    return o && o->document_ == document_;
  }

 private:
  std::shared_ptr<DocumentModel> document_;
};

}  // namespace

std::shared_ptr<Object> makeSelectionObject(std::shared_ptr<DocumentModel> document) {
  return std::make_shared<SelectionObject>(std::move(document));
}

Value TextRangeObject::get(std::string_view member) {
  if (member == "text") return textOf(*range_);
  if (member == "htmlText") return serializeAll(cloneContents(*range_));
  throw memberNotFound(member);
}

void TextRangeObject::put(std::string_view member, const Value&) { throw memberNotFound(member); }

Value TextRangeObject::call(std::string_view method, std::span<const Value> args) {
  if (method == "collapse") {
    const Value toStart = arg(args, 0);
    range_->collapseTo(toStart.isEmpty() || toStart.toBool() ? range_->start : range_->end);
    return {};
  }
  if (method == "parentElement") return std::shared_ptr<Object>(commonAncestorElement(*range_));
  if (method == "pasteHTML") {
    const std::string html = textArg(args, 0);
    extractContents(*range_);
    const NodePtr holder = commonAncestorElement(*range_);
    insertNodes(*range_, parseFragment(html, holder->tag()));
    document_->noteWrite();
    return {};
  }
  if (method == "moveToElementText") {
    const NodePtr element = nodeArgOf(args, 0);
    range_->start = {element, 0};
    range_->end = {element, element->children().size()};
    return {};
  }
  if (method == "findText") return findText(*range_, *document_->root(), textArg(args, 0));
  if (method == "select") {
    document_->selection().selectRange(range_->start, range_->end);
    return {};
  }
  throw memberNotFound(method);
}

}  // namespace reVoziz::pagemodel
