#pragma once
// The state every control object holds, in its documented order. Subsystems
// read the bound window, document and player from here.

#include <string>

#include "control/dom.h"
#include "control/player.h"

namespace reVoziz {

struct ControlState {
  Window HostWindow;
  Document HostDocument;
  reVoziz::Player Player;
  bool pasteInProgress = false;
  bool dragFromNotes = false;
  std::string SavedNotes;
  std::string NotesBackup;
  std::string NotesFilePath;
  std::string BackupFileName;
};

}  // namespace reVoziz
