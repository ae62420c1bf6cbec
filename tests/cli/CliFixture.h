// kel-cli run in process: standard output and error captured in files, the
// exit status returned, each test in a folder of its own.
#pragma once
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/Cli.h"
#include "support/TempFolder.h"

namespace kel::cli {

struct Outcome {
    int exit = -1;
    std::string out, err;
};

// Exactly one line, one JSON object, valid UTF-8.
inline QJsonObject OneJsonObject(const std::string& out)
{
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    QJsonParseError error{};  // also for bytes that are not UTF-8
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out;
    EXPECT_TRUE(doc.isObject()) << out;
    return doc.object();
}

class CliFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "kel-cli";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);  // QSerialPort wants one, as in kel-cli's main
    }

    // Runs kel-cli with standard output and error going to capture files
    // (standard output to `stdoutPath` instead, when given).
    Outcome Run(std::vector<std::string> args, const std::string& stdoutPath = {})
    {
        const std::string outPath = stdoutPath.empty() ? (dir / "out").string() : stdoutPath;
        const std::string errPath = (dir / "err").string();
        std::fflush(stdout);
        std::fflush(stderr);
        const int savedOut = ::dup(1), savedErr = ::dup(2);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        args.insert(args.begin(), "kel-cli");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        Outcome o;
        o.exit = RunCli(static_cast<int>(args.size()), argv.data());
        std::fflush(stdout);
        std::fflush(stderr);
        std::clearerr(stdout);
        ::dup2(savedOut, 1);
        ::dup2(savedErr, 2);
        for (int fd : {out, err, savedOut, savedErr})
            ::close(fd);
        o.out = stdoutPath.empty() ? folder.Read("out") : "";
        o.err = folder.Read("err");
        return o;
    }

    // The simulated ESC's factory settings as "profile save" writes them
    // (version 1.2.3.4), with `changes` (offset, byte) made.
    std::string Profile(const std::string& name, std::vector<std::pair<int, char>> changes = {})
    {
        const char factory[] = {6, 0, 2, 2, 0, 2, 0, 0, 0, 3,  0,  0, 4, 0, 0, 3,
                                0, 5, 0, 1, 3, 0, 0, 0, 5, 20, 35, 1, 2, 3, 4};
        std::string bytes(factory, sizeof factory);
        for (const auto& [offset, byte] : changes)
            bytes[static_cast<std::size_t>(offset)] = byte;
        return folder.Write(name, bytes);
    }

    test::TempFolder folder{"kel-cli-test"};
    const std::filesystem::path dir = folder.Dir();
};

}  // namespace kel::cli
