#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/engine_fixture.h"

using DebugLogTest = EngineTest;

TEST_F(DebugLogTest, EveryLineFeedIsStoredAsCrLf) {
    g_debugLog.writeLine("\n");
    EXPECT_EQ(readLogBytes(), "\r\n\r\n") << "a text of just a line feed gives two empty lines";

    resetEngineGlobals();
    g_debugLog.writeLine("%s", "");
    EXPECT_EQ(readLogBytes(), "\r\n") << "the empty text gives one empty line";

    resetEngineGlobals();
    g_debugLog.writeLine("-------------------------------------\n");
    EXPECT_EQ(readLogBytes(), std::string(37, '-') + "\r\n\r\n");

    resetEngineGlobals();
    g_debugLog.writeLine("a\nb %d", 7);
    EXPECT_EQ(readLogBytes(), "a\r\nb 7\r\n");
}

TEST_F(DebugLogTest, LongLinesAreWrittenWhole) {
    const std::string longText(3000, 'x');
    g_debugLog.writeLine("%s", longText.c_str());
    EXPECT_EQ(readLogBytes(), longText + "\r\n");
}

TEST_F(DebugLogTest, ConstructingTheLogStartsAFreshFile) {
    g_debugLog.writeLine("first run");
    ASSERT_FALSE(readLogBytes().empty());
    DebugLog secondRun;
    EXPECT_EQ(readLogBytes(), "");
}

TEST_F(DebugLogTest, AnUnopenableFileLosesTheLineAndSaysSo) {
    std::filesystem::remove(DEBUG_LOG_FILE);
    std::filesystem::create_directory(DEBUG_LOG_FILE);  // a folder in the file's place cannot be opened
    EXPECT_FALSE(g_debugLog.writeLine("lost"));
    std::filesystem::remove(DEBUG_LOG_FILE);
    EXPECT_TRUE(g_debugLog.writeLine("kept"));
    EXPECT_EQ(readLogBytes(), "kept\r\n");
}

TEST_F(DebugLogTest, HeadIsTwentySixLinesOfHtml) {
    g_debugLog.writeLogHeader();
    const std::string log = readLogBytes();
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = log.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[0], "<html>");
    EXPECT_EQ(lines[1], "\t<head>");
    EXPECT_EQ(lines[17], "<pre>");
    EXPECT_EQ(lines[18], "<title>ZENTRO - https://zentro.example</title>");
    EXPECT_EQ(lines[20],
              " <p align='center'><img border='0' src='data/spr/pel3d.bmp' width='260' height='160'><br> ");
    EXPECT_EQ(lines[22], " ZENTRO Team&nbsp; 1999-2004</b></font></p> ");
    EXPECT_EQ(lines[25], " https://zentro.example ");
}
