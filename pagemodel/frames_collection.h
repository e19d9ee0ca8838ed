#pragma once
// A document's `frames`: its child windows by position or by name.

#include <memory>

#include "core/object.h"

namespace reVoziz::pagemodel {

class DocumentModel;

std::shared_ptr<Object> makeFramesCollection(std::shared_ptr<DocumentModel> document);

}  // namespace reVoziz::pagemodel
