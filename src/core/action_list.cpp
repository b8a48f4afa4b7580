#include "core/action_list.h"

#include "core/diagnostics.h"

namespace hc {

ActionList::~ActionList() {
  if (!records_.empty()) diagnostic("ActionListSize = ", count(), "\n");
}

}  // namespace hc
