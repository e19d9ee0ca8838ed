#include "core/html_text.h"

namespace reVoziz {

void appendEscapedHtml(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendEscapedHtml(out, text);
  return out;
}

}  // namespace reVoziz
