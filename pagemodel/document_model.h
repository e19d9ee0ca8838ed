#pragma once
// A document of the page model: its node tree, frames, style sheets, unique
// ids, layout settings and what the control did to it.

#include <cstdint>
#include <compare>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/object.h"
#include "pagemodel/change_relevance.h"
#include "pagemodel/live_range.h"
#include "pagemodel/node.h"
#include "pagemodel/selection_model.h"
#include "pagemodel/undo_history.h"

namespace reVoziz::pagemodel {

struct StyleSheetModel;
class WindowModel;

struct ScrollIntoViewCall {
  NodePtr element;
  bool alignToTop;
};

class DocumentModel : public Object, public std::enable_shared_from_this<DocumentModel> {
 public:
  // Adopts the tree and reads the style sheets of its <style> elements.
  static std::shared_ptr<DocumentModel> create(NodePtr root, std::string address,
                                               std::filesystem::path file,
                                               std::weak_ptr<WindowModel> window);

  const NodePtr& root() const { return root_; }
  NodePtr body() const;
  // The first element of the tree, in document order, with that id.
  NodePtr elementById(std::string_view id);
  // The elements of the tree whose id or name is `idOrName`, in document order,
  // from an index rebuilt after the tree, an id or a name changed.
  const std::vector<NodePtr>& elementsNamed(std::string_view idOrName);
  // The tree, an id or a name changed.
  void noteNamesChanged() {
    names_.reset();
    ++structure_;
  }
  std::shared_ptr<WindowModel> window() const { return window_.lock(); }
  // The address as it was asked for, and the file it was read from.
  const std::string& address() const { return address_; }
  const std::filesystem::path& file() const { return file_; }

  std::vector<std::shared_ptr<WindowModel>>& frames() { return frames_; }
  const std::vector<std::shared_ptr<StyleSheetModel>>& styleSheets() const { return sheets_; }

  // Unique ids are assigned on first request and stay with the element.
  const std::string& uniqueIdOf(Node& element);
  NodePtr elementByUniqueId(std::string_view id) const;

  // The elements of a collection, remembered until the tree changes: ticks
  // ask for the same lists twice a second.
  struct ElementListKey {
    const Node* root;
    int scope;
    std::string tag;
    auto operator<=>(const ElementListKey&) const = default;
  };
  using ElementList = std::shared_ptr<const std::vector<NodePtr>>;
  ElementList elementList(const ElementListKey& key,
                          const std::function<std::vector<NodePtr>()>& collect);

  // Editing: the live ranges, the selection and the undo history.
  LiveRanges& liveRanges() { return liveRanges_; }
  SelectionModel& selection() { return selection_; }
  UndoHistory& undoHistory() { return undoHistory_; }

  // Layout settings.
  int lineHeight() const { return lineHeight_; }
  void setLineHeight(int pixels);

  // What was done to the document, for tests and tools.
  std::vector<ScrollIntoViewCall> scrollIntoViewCalls;
  std::vector<std::string> executedCommands;
  std::uint64_t writes() const { return writes_; }
  void noteWrite() { ++writes_; }

  // Moves on whenever something changes that can change what the control
  // reads of a list or looks up: every sheet, layout setting and load, and the
  // changes of the tree, texts and attributes that change_relevance.h lets
  // count. Unique among all documents.
  std::uint64_t changeStamp() const { return changeStamp_; }
  void noteChange();

  // The elements a host asked the change stamp of, which are the lists the
  // control walks; kept weakly, the latest few.
  void noteList(const Node& element);
  // Whether `node` is such a list or lies inside one.
  bool isInList(const Node& node) const;
  // Whether `node` is such a list or holds one.
  bool holdsList(const Node& node) const;

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  bool has(std::string_view member) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "HTMLDocument"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  DocumentModel() = default;
  NodePtr titleElement() const;

  NodePtr root_;
  std::string address_;
  std::filesystem::path file_;
  std::weak_ptr<WindowModel> window_;
  std::vector<std::shared_ptr<WindowModel>> frames_;
  std::vector<std::shared_ptr<StyleSheetModel>> sheets_;
  std::unordered_map<std::string, std::weak_ptr<Node>> byUniqueId_;
  std::map<ElementListKey, std::pair<std::uint64_t, ElementList>> elementLists_;
  std::uint64_t nextUniqueId_ = 1;
  std::uint64_t writes_ = 0;
  std::uint64_t changeStamp_ = 0;
  std::uint64_t structure_ = 0;
  std::optional<std::unordered_map<std::string, std::vector<NodePtr>>> names_;
  struct NotedList {
    const Node* element;
    std::weak_ptr<const Node> alive;
  };
  std::vector<NotedList> lists_;
  int lineHeight_ = 20;
  LiveRanges liveRanges_;
  SelectionModel selection_{liveRanges_};
  UndoHistory undoHistory_;
};

// Counts a write to the document that holds `node`, if any.
void noteWrite(const Node& node);
// Moves the change stamp of the document that holds `node`, if any.
void noteChange(const Node& node);
// The same for a change of its tree, a text or an attribute, only when it can
// change what the control reads; a change of the tree or of an id or a name
// also drops the name index. Answers whether the stamp moved.
bool noteChange(const TreeChange& change, bool namesChanged);

}  // namespace reVoziz::pagemodel
