// `zolt dataset`: a data set's records as a table or CSV.
#include "cli/Zolt.h"
#include "hostdb/MarketCalendar.h"
#include "screener/engine/DataSet.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace cli {

namespace {

struct DataSetOptions {
    std::string file, format = "table";
};

int DataSet(Context& ctx, const DataSetOptions& o) {
    const std::string& file = o.file;
    const std::string& format = o.format;
    std::vector<screener::DataSetRecord> records;
    try {
        records = screener::ReadDataSet(file);
    } catch (const std::exception& e) {
        ctx.err << "zolt: " << e.what() << "\n";
        return 1;
    }
    std::string name = std::filesystem::path(file).filename().string();
    screener::DataSetNameParts parts = screener::DecodeDataSetName(name);
    int day = 0;
    hostdb::MarketCalendar calendar(ctx.env.locale);
    std::string date = "(not a date)";
    if (screener::DataSetDay(name, day))
        date = calendar.FormatDay("dddddd", day);
    else if (hostdb::IsValidDate(parts.year, parts.month, parts.day))
        date = "(a date outside " + std::string(hostdb::HostDayRange) + ")";
    const char* titles[] = {"Symbol",   "Name",        "Close",  "Change",
                            "HighRun",  "PrevHighRun", "LowRun", "PrevLowRun",
                            "GapUpAge", "GapDownAge",  "Volume"};
    auto fields = [](const screener::DataSetRecord& r) {
        std::vector<std::string> f{r.Symbol,
                                   r.Name,
                                   PriceText(r.Close),
                                   PriceText(r.Change),
                                   std::to_string(r.HighRun),
                                   std::to_string(r.PrevHighRun),
                                   std::to_string(r.LowRun),
                                   std::to_string(r.PrevLowRun),
                                   std::to_string(r.GapUpAge),
                                   std::to_string(r.GapDownAge),
                                   std::to_string(r.Volume)};
        for (float p : r.VolumePercent) f.push_back(PriceText(p));
        return f;
    };
    std::vector<std::string> header(std::begin(titles), std::end(titles));
    for (int k = 0; k < 10; ++k) header.push_back("Vol%" + std::to_string(k));

    if (format == "csv") {
        for (size_t i = 0; i < header.size(); ++i) ctx.out << (i ? "," : "") << header[i];
        ctx.out << "\n";
        for (const auto& r : records) {
            std::vector<std::string> f = fields(r);
            for (size_t i = 0; i < f.size(); ++i) ctx.out << (i ? "," : "") << CsvField(f[i]);
            ctx.out << "\n";
        }
        return 0;
    }
    ctx.out << "Market date:    " << date << "\n"
            << "Moving average: " << parts.moveAveLength << " days\n"
            << "Records:        " << records.size() << "\n";
    // Column widths from the widest cell.
    std::vector<std::vector<std::string>> rows{header};
    for (const auto& r : records) rows.push_back(fields(r));
    std::vector<size_t> width(header.size(), 0);
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i) width[i] = std::max(width[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            bool left = i < 2;
            std::string cell = row[i];
            std::string pad(width[i] - cell.size(), ' ');
            line += (i ? "  " : "") + (left ? cell + pad : pad + cell);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        ctx.out << line << "\n";
    }
    return 0;
}

} // namespace

void AddDataSetCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<DataSetOptions>();
    CLI::App* c = zolt.add_subcommand("dataset", "Print a data set's records");
    c->add_option("FILE", o->file, "The data set file (.vds)")->required();
    c->add_option("--format", o->format, "table, or csv for a spreadsheet")
        ->check(CLI::IsMember({"table", "csv"}))
        ->capture_default_str();
    c->callback([&run, o] { run = [o](Context& ctx) { return DataSet(ctx, *o); }; });
}

} // namespace cli
