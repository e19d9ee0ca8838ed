#include "automation/page_model_binding.h"

#include <vector>

#include "automation/method_table.h"
#include "core/error.h"
#include "pagemodel/member_args.h"
#include "pagemodel/window_model.h"

namespace reVoziz::automation {

void bindControl(pagemodel::WindowModel& top, tq& control, std::string name) {
  top.scriptObjects[std::move(name)] = [&control](std::string_view method,
                                                  pagemodel::WindowModel& window) {
    const auto id = dispIdOf(method);
    if (!id) throw pagemodel::memberNotFound(method);
    // Handlers pass the window; methods without parameters take nothing.
    std::vector<Value> args;
    if (methodOf(*id)->arity > 0) args.emplace_back(window.shared_from_this());
    const Outcome outcome = invoke(control, *id, args);
    if (!outcome.ok()) throw errorOf(outcome);
  };
}

}  // namespace reVoziz::automation
