#include "cli/PlanWrite.h"

#include "cli/CliText.h"

namespace ledgrin::cli {

int WritePlan(Invocation& run, ImportPlan plan, const ProblemSource& source) {
    if (!plan.problems.empty()) {
        run.console.Refuse(plan.problems, source);
        return kExitFailure;
    }
    Session& session = run.archive();
    if (session.dryRun() || plan.rows.empty()) {
        std::string out;
        AppendPlanDetails(out, session.store(), plan);
        out += FormatPlanSummary(plan, false);
        if (session.dryRun()) out += "Dry run: nothing written.\n";
        run.console.Out(out);
        return kExitOk;
    }
    ApplyImport(session.store(), plan);
    if (plan.RecordCount() > 0) session.MarkChanged(plan.table);
    if (plan.DescCount(DescAction::Rewrite) + plan.DescCount(DescAction::Append) > 0)
        session.MarkChanged(kDescTable);
    const std::string summary = FormatPlanSummary(plan, true);
    plan = ImportPlan();
    if (!session.Commit()) return kExitFailure;
    run.console.Out(summary);
    return kExitOk;
}

bool ReadAssignments(Invocation& run, std::size_t first, InputRow& row) {
    for (std::size_t i = first; i < run.operands.size(); ++i) {
        const std::string& assignment = run.operands[i].text;
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            run.UsageError(QuotedText(assignment) + " is not FIELD=VALUE");
            return false;
        }
        row.cells.push_back({assignment.substr(0, equals), assignment.substr(equals + 1),
                             Position::Argument(run.operands[i].word)});
    }
    return true;
}

} // namespace ledgrin::cli
