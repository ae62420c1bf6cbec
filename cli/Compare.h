#pragma once
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsDiff.h"

namespace kel::cli {

// The outcome of --verify: "verified" or the parameters that did not take,
// on standard output (with --json: the "verify" member to add to the
// command's object). Exit status 1 when something did not take.
struct VerifyReport {
    int status = 0;
    std::string json;  // "\"verify\": {...}"
};
// The differences as a JSON list of {"parameter", FIRST, SECOND}, and as
// lines "LABEL  FIRST: value  |  SECOND: value".
std::string DifferencesJson(const std::vector<SettingDifference>& differences, const char* first, const char* second);
void PrintDifferences(const std::vector<SettingDifference>& differences, const std::string& first,
                      const std::string& second, const char* indent = "");

VerifyReport ReportVerify(const std::vector<SettingDifference>& differences, bool json);

}  // namespace kel::cli
