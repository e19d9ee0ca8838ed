#include "lessonmaking/page_addresses.h"

#include <algorithm>
#include <cctype>

#include "documents/changes_dialog_page.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;
using pagemodel::NodePtr;

// Attributes that hold one address, whatever element carries them: the
// standard ones and those of the lesson's own contract (menus, image swaps).
constexpr std::string_view kAddressAttributes[] = {"src",       "href",       "poster",      "tq_href",
                                                   "tq_src_on", "tq_src_off", "tq_src_open", "tq_src_close"};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// The addresses of `url(...)` in style text, quoted or not.
void addStyleAddresses(std::string_view css, const NodePtr& element, std::vector<PageAddress>& out) {
  for (std::size_t at = css.find("url("); at != std::string_view::npos; at = css.find("url(", at)) {
    at += 4;
    const std::size_t end = css.find(')', at);
    if (end == std::string_view::npos) return;
    std::string_view address = trimmed(css.substr(at, end - at));
    if (address.size() >= 2 && (address.front() == '"' || address.front() == '\'') &&
        address.back() == address.front()) {
      address = address.substr(1, address.size() - 2);
    }
    if (isLocalAddress(address)) out.push_back({std::string(address), element});
    at = end;
  }
}

}  // namespace

bool isLocalAddress(std::string_view address) {
  if (address.empty() || address.starts_with('#') || address.starts_with("//")) return false;
  const auto colon = address.find(':');
  return colon == std::string_view::npos || address.find('/') < colon;
}

fs::path fileOfAddress(const fs::path& page, std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  std::string decoded;
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (address[i] == '%' && i + 2 < address.size() && std::isxdigit(static_cast<unsigned char>(address[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(address[i + 2]))) {
      decoded += static_cast<char>(std::stoi(std::string(address.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      decoded += address[i];
    }
  }
  if (decoded.starts_with('/')) return fs::path();
  return page.parent_path() / decoded;
}

std::vector<PageAddress> localAddressesOf(const NodePtr& root) {
  std::vector<PageAddress> out;
  root->forEachDescendantElement([&](const NodePtr& e) {
    for (std::string_view attribute : kAddressAttributes) {
      if (const std::string* address = e->findAttribute(attribute); address && isLocalAddress(trimmed(*address))) {
        out.push_back({std::string(trimmed(*address)), e});
      }
    }
    if (const std::string* style = e->findAttribute("style")) addStyleAddresses(*style, e, out);
    if (e->tag() == "style") {
      for (const NodePtr& child : e->children()) {
        if (!child->isElement()) addStyleAddresses(child->data(), e, out);
      }
    }
    // A notes page opens the save-changes dialog from the folder it names.
    if (const std::string* folder = e->findAttribute("tq_file"); folder && e->tag() == "body") {
      const std::string address = *folder + std::string(kChangesDialogPage);
      if (isLocalAddress(address)) out.push_back({address, e});
    }
    return true;
  });
  return out;
}

}  // namespace reVoziz::lessonmaking
