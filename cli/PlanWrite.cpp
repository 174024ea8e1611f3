#include "cli/PlanWrite.h"

namespace ledgrin::cli {

int WritePlan(Invocation& run, const ImportPlan& plan, const ProblemSource& source) {
    if (!plan.problems.empty()) {
        run.console.Refuse(plan.problems, source);
        return kExitFailure;
    }
    Session& session = run.archive();
    if (session.dryRun() || plan.rows.empty()) {
        run.console.Out(FormatPlanDetails(plan) + FormatPlanSummary(plan, false));
        if (session.dryRun()) run.console.Out("Dry run: nothing written.\n");
        return kExitOk;
    }
    ApplyImport(session.store(), plan);
    if (plan.RecordCount() > 0) session.MarkChanged(plan.table);
    if (plan.DescCount(DescAction::Rewrite) + plan.DescCount(DescAction::Append) > 0)
        session.MarkChanged(kDescTable);
    if (!session.Commit()) return kExitFailure;
    run.console.Out(FormatPlanSummary(plan, true));
    return kExitOk;
}

} // namespace ledgrin::cli
