#include "pagemodel/model_platform.h"

#include "core/quiet_ticks.h"
#include "pagemodel/document_model.h"

namespace reVoziz::pagemodel {

std::unique_ptr<Timer> ModelPlatform::createTimer() {
  return clock_.createTimer([this](const QuietTicks& quiet) { return stillQuiet(quiet, *this); });
}

std::unique_ptr<FileDialog> ModelPlatform::createFileDialog() {
  auto dialog = std::make_unique<ScriptedFileDialog>();
  dialogs_.push_back(dialog.get());
  return dialog;
}

std::optional<std::uint64_t> ModelPlatform::changeStamp(const Object& node) {
  std::shared_ptr<DocumentModel> document;
  if (const auto* n = dynamic_cast<const Node*>(&node)) {
    document = n->document();
    // An element asked about is a list whose walk the control keeps.
    if (document && n->isElement()) document->noteList(*n);
  } else if (const auto* d = dynamic_cast<const DocumentModel*>(&node)) {
    return d->changeStamp();
  }
  if (!document) return std::nullopt;
  return document->changeStamp();
}

}  // namespace reVoziz::pagemodel
