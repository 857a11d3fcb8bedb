// The run log "pel3dlog.htm": an HTML page around one preformatted block of log lines.
#pragma once

#include <cstdio>

constexpr const char* DEBUG_LOG_FILE = "pel3dlog.htm";

class DebugLog {
public:
    // Empties the log file, so every run starts a fresh log.
    DebugLog();
    // Nothing to release: no file stays open between two lines.
    virtual ~DebugLog() = default;

    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    // Appends one printf-formatted line. Each line feed, the one added and any inside the text, is stored as
    // CR LF on every system, as the log has always been written. The file is opened and closed around every
    // line, so the log is complete up to the last line even if the program is killed. False, writing nothing,
    // when the file cannot be opened.
    bool writeLine(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The 26 lines of the HTML head.
    void writeLogHeader();

private:
    std::FILE* file = nullptr;  // the stream of the write in progress; meaningless between writes
};

extern DebugLog g_debugLog;
