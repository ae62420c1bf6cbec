// Every exchange of kel-cli against a real kel-sim under every fault that
// applies to it (fault-matrix.cells): exact messages, exit status, bounded
// time, what survives.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "CellRunner.h"
#include "TestPrograms.h"

namespace kel::e2e {
namespace {

const Programs kPrograms = BuiltPrograms();

int Jobs()
{
    const char* text = std::getenv("KEL_E2E_JOBS");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 6;
}

TEST(FaultMatrix, EveryExchangeUnderEveryFault)
{
    const CellFile file = ReadCells(KEL_E2E_CELLS);
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.cells.size(), 98u);  // a cell lost from the file fails here
    const std::string shared = MakeTempDir("kel-e2e-firmware");
    ASSERT_FALSE(shared.empty());
    ASSERT_EQ(MakeSampleFiles(kPrograms, shared), "");

    const int margin = CalibrateMargin(kPrograms, Jobs(), file.waits.at("open"));
    const std::vector<CellResult> results = RunCells(kPrograms, shared, file.cells, Jobs(), margin);
    std::fputs(Report(file, results, margin).c_str(), stdout);
    for (const CellResult& r : results)
        EXPECT_TRUE(r.problems.empty()) << r.cell->row << " / " << r.cell->column;
    std::filesystem::remove_all(shared);
}

TEST(KelCliPort, MissingDeviceExitsAtOnceWithOneLine)
{
    const std::string port = "/dev/kel-no-such-box";
    const RunResult run = RunProgram(kPrograms.cli, {"--port", port, "read"}, 10'000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_LT(run.wallMs, 1000);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_TRUE(run.err.starts_with("kel-cli: ")) << run.err;
    EXPECT_NE(run.err.find(port), std::string::npos) << run.err;
}

}  // namespace
}  // namespace kel::e2e
