#include "documents/template_address.h"

#include <string>

#include "core/text.h"

namespace reVoziz {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// `address` without query and fragment, percent escapes undone, "\" read as
// "/", in lower case, and without the leading "./" and "../" steps that only
// say where the path starts.
std::string comparablePath(std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  std::string path;
  for (std::size_t i = 0; i < address.size(); ++i) {
    const char c = address[i];
    const int high = c == '%' && i + 2 < address.size() ? hexValue(address[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(address[i + 2]) : -1;
    if (low >= 0) {
      path += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      path += c == '\\' ? '/' : c;
    }
  }
  path = lowerCase(path);
  std::size_t start = 0;
  for (;;) {
    if (path.compare(start, 2, "./") == 0) {
      start += 2;
    } else if (path.compare(start, 3, "../") == 0) {
      start += 3;
    } else {
      break;
    }
  }
  return path.substr(start);
}

}  // namespace

bool showsDeclaredPage(std::string_view declaredSrc, std::string_view documentUrl) {
  const std::string declared = comparablePath(declaredSrc);
  const std::string shown = comparablePath(documentUrl);
  if (declared.empty() || declared.ends_with('/') || shown.size() < declared.size()) return false;
  if (!shown.ends_with(declared)) return false;
  // The declared path must start a segment of the address: "template.html"
  // is not "my_template.html".
  const std::size_t at = shown.size() - declared.size();
  return at == 0 || declared.starts_with('/') || shown[at - 1] == '/';
}

}  // namespace reVoziz
