// ESC firmware files: the bytes of a .zrv file split into lines and each
// line turned into the record the updater sends.
#include "FuzzSupport.h"
#include "update/ZrvFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = kel::fuzz::AsText(data, size);
    const std::vector<std::string> lines = kel::ZrvLines(bytes);

    // The lines are the text-mode view cut at each LF, the LFs left out.
    std::string joined;
    std::int64_t total = 0;
    for (const std::string& line : lines) {
        KEL_FUZZ_CHECK(line.find('\n') == std::string::npos);
        joined += line + "\n";
        // Each line from a block of its own size, so a read past it is caught.
        const std::vector<char> own(line.begin(), line.end());
        const std::vector<std::uint8_t> record = kel::ZrvRecord({own.data(), own.size()});
        KEL_FUZZ_CHECK(record.size() == (line.size() + 1) / 2);
        KEL_FUZZ_CHECK(kel::ZrvRecordLength(line) == record.size());
        KEL_FUZZ_CHECK(record.empty() || record[0] == kel::kZrvRecordStart);
        for (std::size_t k = 1; k < record.size(); ++k)
            KEL_FUZZ_CHECK(record[k] == kel::fuzz::ReferenceHexPair(line[2 * k - 1], line[2 * k]));
        total += static_cast<std::int64_t>(record.size());
    }
    const std::string text = kel::fuzz::ReferenceTextMode(bytes);
    KEL_FUZZ_CHECK(joined == text || joined == text + "\n");
    KEL_FUZZ_CHECK(kel::ZrvTotal(lines) == total);
    return 0;
}
