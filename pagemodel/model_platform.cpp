#include "pagemodel/model_platform.h"

namespace reVoziz::pagemodel {

std::unique_ptr<FileDialog> ModelPlatform::createFileDialog() {
  auto dialog = std::make_unique<ScriptedFileDialog>();
  dialogs_.push_back(dialog.get());
  return dialog;
}

}  // namespace reVoziz::pagemodel
