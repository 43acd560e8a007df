// Fuzz target: a data set of any content, every record through every page test, then a filter
// run over the same bytes without the evaluation.
#include "screener/engine/FilterRun.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hostdb::MemoryByteSource source(std::span<const std::uint8_t>(data, size));
    screener::FilterSettings s;
    s.DoEval = false;
    // Both ways of the weeks tests and every Combo column, so each test runs somewhere.
    s.NewHighOnly = size % 2 == 0;
    s.NewLowOnly = !s.NewHighOnly;
    s.CloseUpPerC = s.CloseDownPerC = true;
    s.VolumeDays = static_cast<int>(size % 12);
    s.GapUpB = s.VolumeAboveB = s.CloseDownC = s.VolumeBelowC = true;
    volatile int passed = 0;
    screener::DataSetReader reader(source, "input");
    screener::DataSetRecord r;
    while (reader.Next(r))
        for (int page = 0; page < 10; ++page) {
            s.Page = page;
            passed = passed + screener::TestPage(s, r);
        }

    s.Page = screener::PageAll;
    s.MinClose = -1e30f;
    s.MinVolume = 0;
    screener::FilterRunInput in;
    in.dataSetPath = "input";
    in.settings = s;
    const screener::ScreenerFormats formats;
    grid::CellGrid g = screener::MakeResultGrid();
    screener::ResultState state;
    screener::ColumnTitleInfo titles{s.VolumeDays, false, 0, "", ""};
    screener::RunFilter(in, source, g, state, formats, titles);
    return 0;
}
