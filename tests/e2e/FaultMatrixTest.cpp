// Every exchange of kel-cli against a real kel-sim under every fault that
// applies to it: exact messages, exit status, bounded time, what survives.
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
    const std::string shared = MakeTempDir("kel-e2e-firmware");
    ASSERT_FALSE(shared.empty());
    ASSERT_EQ(MakeSampleFiles(kPrograms, shared), "");

    std::vector<Cell> cells = DetectCells();
    for (auto* group : {SettingsCells, FirmwareCells, InterruptCells}) {
        auto more = group();
        cells.insert(cells.end(), more.begin(), more.end());
    }
    const int margin = CalibrateMargin(kPrograms, Jobs());
    const std::vector<CellResult> results = RunCells(kPrograms, shared, cells, Jobs(), margin);
    std::fputs(Report(results, margin).c_str(), stdout);
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

} // namespace
} // namespace kel::e2e
