// The end of import and set: a plan with problems is reported and nothing is written; a
// plan without them is printed (a dry run, or nothing to change) or applied and committed.
#pragma once

#include "cli/Command.h"
#include "cli/ImportPlan.h"

namespace ledgrin::cli {

// The plan is taken over, so that its memory is given back before the save.
int WritePlan(Invocation& run, ImportPlan plan, const ProblemSource& source);

// The FIELD=VALUE operands from `first` on as cells of row, each at its word of the
// command line, so a message points at the argument. False after a usage error.
bool ReadAssignments(Invocation& run, std::size_t first, InputRow& row);

} // namespace ledgrin::cli
