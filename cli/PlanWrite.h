// The end of import and set: a plan with problems is reported and nothing is written; a
// plan without them is printed (a dry run, or nothing to change) or applied and committed.
#pragma once

#include "cli/Command.h"
#include "cli/ImportPlan.h"

namespace ledgrin::cli {

int WritePlan(Invocation& run, const ImportPlan& plan, const ProblemSource& source);

} // namespace ledgrin::cli
