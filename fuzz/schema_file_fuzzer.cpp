// A schema file loaded, saved and loaded again: what the second load gives must be what the
// first gave, and saving that must give the same text again. A schema that cannot be saved
// so that it reads back is refused, and then nothing is written.

#include "fuzz/fuzz_support.h"
#include "schema/database_schema.h"
#include "schema/schema_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::ClearScratch();
    const std::string& dir = fuzzing::ScratchDir();
    fuzzing::WriteFile(dir + "default.sch", std::string_view(reinterpret_cast<const char*>(data), size));
    platform::FileSystem& fs = platform::FileSystem::Default();

    schema::DatabaseSchema first(fs, dir);
    fuzzing::Require(first.LoadSchema("default.sch"), "a schema file that is there does not load");
    (void)first.TestSchema();
    if (!schema::SchemaFileWritable(first.Tables())) {
        fuzzing::Require(!first.SaveSchema("saved.sch"), "a schema that cannot read back was saved");
        fuzzing::Require(!fs.Exists(dir + "saved.sch"), "a refused save wrote a file");
        return 0;
    }
    fuzzing::Require(first.SaveSchema("saved.sch"), "saving the schema failed");
    const std::string savedText = fuzzing::ReadFile(dir + "saved.sch");
    fuzzing::Require(savedText == schema::SchemaFileText(first.Tables()), "the saved file is not the schema's text");

    schema::DatabaseSchema second(fs, dir);
    fuzzing::Require(second.LoadSchema("saved.sch"), "the saved schema does not load");
    fuzzing::Require(second.Tables() == first.Tables(), "the saved schema reads back as another");
    fuzzing::Require(schema::SchemaFileText(second.Tables()) == savedText, "saving again changes the text");
    return 0;
}
