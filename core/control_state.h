#pragma once
// The state every control object holds, in its documented order. Subsystems
// read the bound window, document and player from here. The paste and drag
// flags, which only the notes editor uses, are the editor's own.

#include <string>

#include "core/dom.h"
#include "core/player.h"

namespace reVoziz {

struct ControlState {
  Window HostWindow;
  Document HostDocument;
  reVoziz::Player Player;
  std::string SavedNotes;
  std::string NotesBackup;
  std::string NotesFilePath;
  std::string BackupFileName;
};

}  // namespace reVoziz
