// Every exchange of kel-cli against a real kel-sim under every fault that
// applies to it (fault-matrix.cells): exact messages, exit status, bounded
// time, what survives.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FaultCell.h"

namespace kel::e2e {
namespace {

TEST(FaultMatrix, EveryExchangeUnderEveryFault)
{
    const CellFile file = ReadCells(KEL_E2E_CELLS);
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.cells.size(), 106u);  // a cell lost from the file fails here
    const std::string shared = MakeTempDir("kel-e2e-firmware");
    ASSERT_FALSE(shared.empty());
    const Programs programs = BuiltPrograms();
    ASSERT_EQ(MakeSampleFiles(programs, shared), "");

    const char* jobsText = std::getenv("KEL_E2E_JOBS");
    const int jobs = jobsText && std::atoi(jobsText) > 0 ? std::atoi(jobsText) : 6;
    const int margin = CalibrateMargin(programs, jobs, file.waits.at("open"));
    const std::vector<CellResult> results = RunCells(programs, shared, file.cells, jobs, margin);
    std::printf("%s(each run within its waits + %d ms)\n", Report(file, results).c_str(), margin);
    for (const CellResult& r : results)
        EXPECT_TRUE(r.problems.empty()) << r.cell->row << " / " << r.cell->column;
    std::filesystem::remove_all(shared);
}

TEST(KelCliPort, MissingDeviceExitsAtOnceWithOneLine)
{
    const std::string port = "/dev/kel-no-such-box";
    const RunResult run = RunProgram(BuiltPrograms().cli, {"--port", port, "read"}, 10'000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_LT(run.wallMs, 1000);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_TRUE(run.err.starts_with("kel-cli: ")) << run.err;
    EXPECT_NE(run.err.find(port), std::string::npos) << run.err;
}

}  // namespace
}  // namespace kel::e2e
