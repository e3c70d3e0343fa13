#include "model/PlanFile.h"

#include "model/PlanCheck.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace zrn {

std::optional<std::string> ReadWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return text.str();
}

std::optional<std::string> WriteWhole(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::path partial = file;
    partial += ".partial";
    std::string why;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out)
            return "its folder cannot be written";
        out << text;
        out.close();
        if (out.fail())
            why = "the disk did not take the whole file";
    }
    std::error_code error;
    if (why.empty()) {
        std::filesystem::rename(partial, file, error);
        if (!error)
            return std::nullopt;
        why = error.message();
    }
    std::filesystem::remove(partial, error);
    return why;
}

std::variant<Plan, Refusal> ReadPlanFile(const std::filesystem::path& file) {
    const std::optional<std::string> text = ReadWhole(file);
    if (!text)
        return Refusal{{}, "cannot be read"};
    auto plan = ReadPlan(*text);
    if (const Plan* read = std::get_if<Plan>(&plan))
        if (std::optional<Refusal> refusal = CheckPlanFits(*read, ScheduleTable{}, std::nullopt))
            return *refusal;
    return plan;
}

std::variant<std::string, Refusal> ExportText(const ScheduleTable& table) {
    std::string text = WritePlan(table);
    const auto reread = ReadPlan(text);
    if (const Refusal* refusal = std::get_if<Refusal>(&reread))
        return *refusal;
    return text;
}

} // namespace zrn
