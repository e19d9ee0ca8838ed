#pragma once
// The ids that elements of the notes page outside the notes carry, and that the
// control or the page looks up by id or name (`all` answers names too). Markup
// from outside the lesson may not bring them into the notes: the cleaning of
// pastes and of opened notes drops them, whatever their letter case.

#include <array>
#include <string_view>

namespace reVoziz {

inline constexpr std::array<std::string_view, 20> kNotesPageReservedIds = {
    "pastepoint", "synctemplate", "notes",         "notesfile",    "notestemplate", "newnotes",
    "opennotes",  "save",         "undo",          "redo",         "cut",           "copy",
    "paste",      "bold",         "italic",        "synctag",      "notesdraft",    "notesdrafttext",
    "recoverdraft", "discarddraft"};

}  // namespace reVoziz
