// lumetta-cli schema-test: the schema test of a database directory, as the Database
// dialog's Test shows it.

#include "platform/file_system.h"
#include "platform/resource_source.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "schema/schema_problem.h"
#include "table/table_database.h"
#include "tools/cli/command_support.h"

#include <ostream>

namespace cli {

namespace {

constexpr const char* kSchemaFile = "default.sch";

int MessageId(schema::SchemaProblemKind kind)
{
    switch (kind) {
    case schema::SchemaProblemKind::kReferencedWithoutKey:
        return IDS_SCHEMA_REFERENCED_WITHOUT_KEY;
    case schema::SchemaProblemKind::kReferencedWithoutName:
        return IDS_SCHEMA_REFERENCED_WITHOUT_NAME;
    case schema::SchemaProblemKind::kAbsentTable:
        break;
    }
    return IDS_SCHEMA_ABSENT_TABLE;
}

} // namespace

int SchemaTest(const Invocation& call)
{
    table::TableDatabase database(call.fs);
    if (!database.SetDatabaseDirectory(call.file)) {
        call.streams.err << "lumetta-cli: " << call.file << ": not a directory\n";
        return kExitUsage;
    }
    if (!platform::FindEntryNoCase(call.fs, database.Directory(), kSchemaFile)) {
        call.streams.err << "lumetta-cli: " << call.file << ": no " << kSchemaFile << '\n';
        return kExitUsage;
    }
    if (!database.LoadSchema(kSchemaFile)) {
        call.streams.err << "lumetta-cli: " << call.file << ": cannot read " << kSchemaFile << '\n';
        return kExitFailed;
    }
    const auto problem = database.TestSchema();
    if (!problem) {
        call.streams.out << Text(IDS_SCHEMA_NO_ERRORS) << '\n';
        return kExitOk;
    }
    call.streams.out << platform::AnsiToUtf8(
        schema::FormatSchemaProblem(*problem, platform::LoadString(MessageId(problem->kind))))
                     << '\n';
    return kExitFailed;
}

} // namespace cli
