#include "pagemodel/frames_collection.h"

#include "pagemodel/document_model.h"
#include "pagemodel/indexed_collection.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {
namespace {

class FramesCollection : public IndexedCollection {
 public:
  explicit FramesCollection(std::shared_ptr<DocumentModel> document)
      : document_(std::move(document)) {}
  std::size_t size() override { return document_->frames().size(); }
  Value at(std::size_t index) override {
    return std::shared_ptr<Object>(document_->frames()[index]);
  }
  Value named(std::string_view name) override {
    for (const auto& frame : document_->frames()) {
      if (frame->name() == name) return std::shared_ptr<Object>(frame);
    }
    return Null{};
  }
  std::string typeName() const override { return "FramesCollection"; }

 private:
  std::shared_ptr<DocumentModel> document_;
};

}  // namespace

std::shared_ptr<Object> makeFramesCollection(std::shared_ptr<DocumentModel> document) {
  return std::make_shared<FramesCollection>(std::move(document));
}

}  // namespace reVoziz::pagemodel
