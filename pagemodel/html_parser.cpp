#include "pagemodel/html_parser.h"

#include <gumbo.h>

#include <memory>
#include <string>

#include "core/error.h"
#include "core/text.h"

namespace reVoziz::pagemodel {
namespace {

using GumboOutputPtr = std::unique_ptr<GumboOutput, void (*)(GumboOutput*)>;

GumboOutputPtr parse(std::string_view html, GumboTag context) {
  GumboOptions options = kGumboDefaultOptions;
  options.fragment_context = context;
  GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
  if (!output) throw Error(ErrorCode::HostError, "The HTML parser failed");
  return GumboOutputPtr(output, [](GumboOutput* o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
}

// Unknown tags keep the name written in the markup, read as the tokenizer
// reads it: up to white space, "/" or ">". gumbo's original text of the tag
// may start with an ignored "</>" written just before it.
std::string tagName(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  std::string_view text(element.original_tag.data, element.original_tag.length);
  while (text.starts_with("</>")) text.remove_prefix(3);
  if (text.starts_with('<')) text.remove_prefix(1);
  return lowerCase(text.substr(0, text.find_first_of(" \t\n\f\r/>")));
}

NodePtr convert(const GumboNode& node) {
  switch (node.type) {
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
      const GumboElement& element = node.v.element;
      NodePtr result = Node::makeElement(tagName(element));
      result->sourceLine = static_cast<int>(element.start_pos.line);
      for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        std::string name(a->name);
        // The spelling from the markup, for serialising; gumbo lower-cases names.
        if (a->original_name.data && a->original_name.length == name.size()) {
          name.assign(a->original_name.data, a->original_name.length);
        }
        result->setAttribute(name, a->value);
      }
      for (unsigned i = 0; i < element.children.length; ++i) {
        if (NodePtr child = convert(*static_cast<const GumboNode*>(element.children.data[i]))) {
          result->appendChild(std::move(child));
        }
      }
      return result;
    }
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
      return Node::makeText(node.v.text.text);
    case GUMBO_NODE_COMMENT:
      return Node::makeText(node.v.text.text, NodeKind::Comment);
    case GUMBO_NODE_DOCUMENT:
      break;
  }
  return nullptr;
}

}  // namespace

NodePtr parseDocument(std::string_view html) {
  GumboOutputPtr output = parse(html, GUMBO_TAG_LAST);
  return convert(*output->root);
}

std::vector<NodePtr> parseFragment(std::string_view html, std::string_view contextTag) {
  GumboTag context = gumbo_tagn_enum(contextTag.data(), static_cast<unsigned>(contextTag.size()));
  if (context == GUMBO_TAG_UNKNOWN || context == GUMBO_TAG_LAST) context = GUMBO_TAG_DIV;
  GumboOutputPtr output = parse(html, context);
  std::vector<NodePtr> nodes;
  const GumboVector& children = output->root->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    if (NodePtr n = convert(*static_cast<const GumboNode*>(children.data[i]))) {
      nodes.push_back(std::move(n));
    }
  }
  return nodes;
}

}  // namespace reVoziz::pagemodel
