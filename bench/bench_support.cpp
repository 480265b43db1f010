#include "bench/bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace bench {

namespace fs = std::filesystem;

std::uint32_t BenchRecordCount()
{
    const char* text = std::getenv("LUMETTA_BENCH_RECORDS");
    const long long count = text ? std::atoll(text) : 0;
    return count > 0 ? static_cast<std::uint32_t>(count) : 10'000'000u;
}

const std::string& ScratchFolder(const std::string& prefix)
{
    struct Folder
    {
        explicit Folder(const std::string& name)
            : path((fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()))).string() + "/")
        {
            fs::create_directories(path);
        }
        ~Folder()
        {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
        std::string path;
    };
    static std::map<std::string, Folder> folders;
    return folders.try_emplace(prefix, prefix).first->second.path;
}

std::string FreshCopy(const std::string& prefix, const std::string& source, const std::string& name)
{
    const std::string copy = ScratchFolder(prefix) + name;
    fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
    return copy;
}

int AgreeingPrompt::Ask(const std::string&, platform::PromptButtons buttons, platform::PromptIcon)
{
    return buttons == platform::PromptButtons::kOk || buttons == platform::PromptButtons::kOkCancel
        ? platform::IDOK
        : platform::IDYES;
}

} // namespace bench
