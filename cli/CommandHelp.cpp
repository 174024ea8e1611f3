#include "cli/CommandHelp.h"

namespace ledgrin::cli {

const char* const kOverallUsage = "Usage: ledgrin-cli COMMAND ARGUMENTS...\n"
                                  "       ledgrin-cli COMMAND --help\n"
                                  "       ledgrin-cli --help\n";

const char* const kOverallIntro = "\n"
                                  "Reads, checks and changes the item tables of a Tarvik item archive\n"
                                  "(tarvik_gb.iff) with the same rules as the Ledgrin editor.\n";

const char* const kOverallNotes =
    "\n"
    "TABLE is an entry name (\"Part.iff\") or a bare name (\"Part\"), in any letter case.\n"
    "\n"
    "Commands that write (import, set, apply) keep the archive they replace beside it as\n"
    "ARCHIVE.YYYYMMDD-HHMMSS.bak (local time; -2, -3, ... within one second), a hard link\n"
    "where the file system allows, else a copy, and the newest 10 of those backups.\n"
    "  --keep-backups N  keep the newest N backups instead.\n"
    "  --no-backup       make no backup.\n"
    "--dry-run writes nothing, not even a backup.\n"
    "\n"
    "They write one at a time: each holds a lock on ARCHIVE.lock from its load to its\n"
    "replace, and checks before the replace that no other program changed the archive.\n"
    "  --wait SECONDS    wait this long for another writer's lock (default 10), then\n"
    "                    exit 1 with nothing written.\n"
    "A symbolic link is followed: the file it points to is rewritten, its backups and its\n"
    "lock file lie beside that file, and the link stays a link.\n"
    "\n"
    "Exit codes: 0 success, 1 failure, 2 usage error. Errors go to standard error.\n";

const CommandHelp kTablesHelp = {
    "Usage: ledgrin-cli tables ARCHIVE\n",
    "list the fourteen tables with their record counts and header words",
    "Lists the fourteen tables: entry name, record count, record size, HeaderWord2,\n"
    "Version and the size of the table's entry (header and records). A table that did\n"
    "not load is listed with the reason (not in the archive, shorter than its header,\n"
    "fewer bytes than its header promises, a CRC mismatch, an unsupported method or\n"
    "version ...), which standard error repeats, and the exit code is then 1.\n",
};

const CommandHelp kExportHelp = {
    "Usage: ledgrin-cli export ARCHIVE TABLE [--format csv|json] [-o FILE]\n",
    "write one table as CSV or JSON",
    "Writes one row per record of TABLE, in record order: Index, every named field under\n"
    "its name (Enabled, TypeID, Name, Level, Price, ... and the table's own fields),\n"
    "read-only columns decoded from the TypeID and the label lists (char,\n"
    "CharacterLabel, RankLabel, ...) and the item's Description.\n"
    "\n"
    "  --format csv|json  CSV as RFC 4180 writes it (CR LF after each record, line feeds\n"
    "                     inside quotes) or a JSON array with one object per line.\n"
    "                     Default: json when FILE ends in .json, otherwise csv.\n"
    "  -o FILE            write to FILE instead of standard output.\n"
    "\n"
    "Texts are written byte for byte: in CSV as they are, in JSON with each byte from\n"
    "0x80 up as \\u0080 to \\u00FF (a tool that rewrites the file must keep those\n"
    "escapes, as Python's json module does by default). Desc exports as Index, TypeID\n"
    "and Description and cannot be imported.\n",
};

const CommandHelp kImportHelp = {
    "Usage: ledgrin-cli import ARCHIVE TABLE FILE [--dry-run] [--format csv|json]\n",
    "change a table from a CSV or JSON file, all or nothing",
    "Changes the records of the item table TABLE from FILE, as export writes it (\"-\"\n"
    "reads standard input). Rows are matched to records by TypeID, and by Index where\n"
    "records share a TypeID. Columns left out keep the archive's values; column names\n"
    "match in any letter case, and the decoded columns (labels) are checked, not written.\n"
    "\n"
    "A row whose values all equal the archive's changes nothing, so importing an\n"
    "unchanged export changes no byte. A changed row is written with the editor's Update\n"
    "rules: Name (at most 39 bytes), Level, prices, shop and marker bits, stats and\n"
    "slots; PriceCopy, MonthlyPrice and StatCopy follow their rules, and so do the bonus\n"
    "rates and EffectTime. A changed Description rewrites the item's first description\n"
    "or appends one (at most 512 bytes; carriage returns are dropped).\n"
    "\n"
    "Everything is checked before anything is written: an unknown or repeated TypeID,\n"
    "text that is not a number, a value too wide for its field, a changed read-only\n"
    "field, or a value that the Update's rules would store differently is reported with\n"
    "its line, and nothing changes. Then the table and Desc.iff are written, and the\n"
    "archive is replaced in one step.\n"
    "\n"
    "  --dry-run          print what would change, field by field; write nothing.\n"
    "  --format csv|json  the file's format. Default: json when FILE ends in .json.\n",
};

const CommandHelp kSetHelp = {
    "Usage: ledgrin-cli set ARCHIVE TABLE TYPEID FIELD=VALUE... [--dry-run]\n"
    "       ledgrin-cli set ARCHIVE TABLE --where COND... ASSIGNMENT... [--dry-run]\n",
    "change fields of one item, or of every item that matches",
    "Changes fields of the item TYPEID of the item table TABLE with the rules and checks\n"
    "of import. FIELD is a column name of export (Price, Name, Description, ...);\n"
    "Index=N picks one of several records that share the TypeID. Numbers are decimal,\n"
    "or hexadecimal after 0x. Only the fields whose value changes are written, with the\n"
    "fields the editor's rules derive from them (PriceCopy follows Price, ...).\n"
    "\n"
    "With --where, every record of TABLE for which all conditions hold is changed:\n"
    "  COND        name~TEXT (the name contains TEXT, in any letter case), or\n"
    "              FIELD=V, FIELD!=V, FIELD<V, FIELD<=V, FIELD>V, FIELD>=V on any\n"
    "              numeric column of export (Index, Price, char, ...).\n"
    "  ASSIGNMENT  FIELD=V, FIELD+=N, FIELD-=N or FIELD*=F (F a decimal number such as\n"
    "              1.1; the product is rounded to the nearest integer, halves away\n"
    "              from zero).\n"
    "All or nothing: a result that does not fit its field is reported for every record\n"
    "and nothing is written; so is a --where that matches no record (exit code 1).\n"
    "\n"
    "  --dry-run  print what would change, record by record; write nothing.\n"
    "\n"
    "Examples: ledgrin-cli set tarvik_gb.iff Part 8388610 Price=1500 \"Name=Blue Cap\"\n"
    "          ledgrin-cli set tarvik_gb.iff Part --where name~cap --where \"Price<5000\" \\\n"
    "              \"Price*=1.1\" --dry-run\n",
};

const CommandHelp kVerifyHelp = {
    "Usage: ledgrin-cli verify ARCHIVE\n",
    "look for inconsistencies across the tables",
    "Loads all fourteen tables and reports, with counts and up to five examples each:\n"
    "damaged or missing tables, duplicate TypeIDs within a table, TypeIDs held by items\n"
    "of several tables, descriptions whose TypeID no item has, TypeIDs with several\n"
    "descriptions, set members that refer to no item, sets with a MemberCount above 10,\n"
    "codes without a label (characters, card volumes, level indexes), items with both\n"
    "\" Avail. in Shop\" and \" Display only\" set, and names without a NUL.\n"
    "The exit code is 1 when a table is damaged or missing; other findings are reported\n"
    "only.\n",
};

const CommandHelp kDiffHelp = {
    "Usage: ledgrin-cli diff ARCHIVE_A ARCHIVE_B [TABLE] [--patch FILE]\n",
    "compare two archives record by record, or write a patch",
    "Compares the tables of two archives, or only TABLE. Records are matched by TypeID\n"
    "(records that share a TypeID in index order) and reported as added, removed or\n"
    "changed. A changed record lists each changed field by name with its old and new\n"
    "value, a changed name or description, and changed byte ranges that no field names.\n"
    "Header words that differ are reported too. No output: the tables are the same.\n"
    "\n"
    "  --patch FILE  write the changes as a JSON patch for apply instead: one change per\n"
    "                field {\"table\", \"typeid\", \"field\", \"old\", \"new\"} (descriptions:\n"
    "                table \"Desc\", field \"Description\", \"old\" null when there was\n"
    "                none), and the records found in only one archive under \"unmatched\".\n"
    "                Bytes that no field names are not carried.\n",
};

const CommandHelp kApplyHelp = {
    "Usage: ledgrin-cli apply ARCHIVE FILE [--dry-run] [--skip-conflicts]\n",
    "carry the changes of a patch into an archive",
    "Applies a patch written by diff --patch to ARCHIVE, for instance a new release of\n"
    "the game's archive. Each change finds its record by table and TypeID, wherever it\n"
    "now stands. The field holding \"new\" already: nothing to do. Holding \"old\": the\n"
    "change is made (a missing description whose \"old\" is null is appended). Anything\n"
    "else is a conflict, and so is a TypeID that no record or several records hold.\n"
    "With any conflict nothing is written and every conflict is listed with its\n"
    "expected, found and wanted values (exit code 1). Records the patch lists as\n"
    "unmatched are reported and left alone. Only the patch's fields are written.\n"
    "\n"
    "  --dry-run         list the changes that would be made; write nothing.\n"
    "  --skip-conflicts  make the other changes and list the conflicts skipped.\n",
};

const CommandHelp kRefsHelp = {
    "Usage: ledgrin-cli refs ARCHIVE TYPEID\n",
    "show what refers to an item",
    "Shows the item TYPEID: its table, record index and name; its descriptions; every set\n"
    "(SetItem) that lists it as a member, with the set's TypeID and name; and for a set,\n"
    "each member's TypeID with its table and name, or a note that no item holds it.\n"
    "A TypeID that no item and no description holds is an error (exit code 1).\n",
};

} // namespace ledgrin::cli
