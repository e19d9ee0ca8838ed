#pragma once
// The files beside a lesson page that the page uses: frames, images, the
// video and its tracks, style sheets, the pages its menus load, and the
// save-changes dialog page of a notes page. The check follows them to find
// what is missing; publishing follows them to ship the lesson and nothing else.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "pagemodel/node.h"

namespace reVoziz::lessonmaking {

// Whether `address` names a file of the lesson's site, as opposed to one on
// the web or in the page itself.
bool isLocalAddress(std::string_view address);

// The file `address` names beside `page`, without its query or fragment and
// with %XX decoded; empty for an address from the server's root.
std::filesystem::path fileOfAddress(const std::filesystem::path& page, std::string_view address);

// One address a page uses, and where.
struct PageAddress {
  std::string address;
  pagemodel::NodePtr element;  // that names it
};

// The local addresses that the page below `root` uses, in document order.
std::vector<PageAddress> localAddressesOf(const pagemodel::NodePtr& root);

}  // namespace reVoziz::lessonmaking
