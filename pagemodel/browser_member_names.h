#pragma once
// Whether a browser's object of a kind has a member of that name, as
// `name in object` answers on a blank page.

#include <string_view>

namespace reVoziz::pagemodel {

enum class BrowserObject { Window, Document, Form, Element };

bool isBrowserMember(BrowserObject object, std::string_view name);

}  // namespace reVoziz::pagemodel
