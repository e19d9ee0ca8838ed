#pragma once
// Whether the notes page's template frame still shows the page its <iframe>
// declares. A link aimed at the frame can load any page into it, and a save
// composed from that page would hold none of the notes.

#include <string_view>

namespace reVoziz {

// Whether `documentUrl`, the address of the frame's document as the host
// gives it, names the page that `declaredSrc`, the frame's src attribute as
// written, points to. Hosts give the address as written (the page model),
// resolved and percent-encoded (browsers) or as a Windows file path; what
// counts is the declared path, without its leading "./" and "../" steps, at
// the end of the address, compared without letter case, query or fragment.
bool showsDeclaredPage(std::string_view declaredSrc, std::string_view documentUrl);

}  // namespace reVoziz
