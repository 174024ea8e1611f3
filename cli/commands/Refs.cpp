// refs ARCHIVE TYPEID: what refers to an item.
#include "cli/Refs.h"
#include "cli/CliText.h"
#include "cli/Command.h"

namespace ledgrin::cli {

namespace {

int RunRefs(Invocation& run) {
    std::uint32_t typeId = 0;
    if (ParseUnsigned(run.operands[1].text, typeId) != NumberParse::Ok)
        return run.UsageError("TYPEID " + QuotedText(run.operands[1].text) + " is not an unsigned number");
    if (!run.Load()) return kExitFailure;
    std::string text;
    if (!FormatRefs(run.archive().store(), typeId, text)) {
        run.console.Error(run.archive().path() + ": no item and no description holds TypeID " +
                          Decimal(typeId));
        return kExitFailure;
    }
    run.console.Out(text);
    return kExitOk;
}

} // namespace

extern const CommandDef kRefsCommand = {
    "refs",
    "show what refers to an item",
    {"ARCHIVE TYPEID"},
    "Shows the item TYPEID: its table, record index and name; its descriptions; every set\n"
    "(SetItem) that lists it as a member, with the set's TypeID and name; and for a set,\n"
    "each member's TypeID with its table and name, or a note that no item holds it.\n"
    "A TypeID that no item and no description holds is an error (exit code 1).\n",
    {},
    Loads::Archive,
    Needs::AllTables,
    TableKind::AnyTable,
    Access::Reads,
    RunRefs,
};

} // namespace ledgrin::cli
