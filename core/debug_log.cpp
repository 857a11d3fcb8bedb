#include "core/debug_log.h"

#include <cstdarg>
#include <cstring>
#include <string>

#include "core/credits.h"
#include "platform/system.h"

namespace {

// Writes the text with every line feed stored as CR LF.
void writeWithCrLf(std::FILE* file, const char* text, std::size_t length) {
    const char* end = text + length;
    while (text < end) {
        const void* found = std::memchr(text, '\n', static_cast<std::size_t>(end - text));
        const char* lineEnd = found ? static_cast<const char*>(found) : end;
        std::fwrite(text, 1, static_cast<std::size_t>(lineEnd - text), file);
        if (lineEnd == end) break;
        std::fwrite("\r\n", 1, 2, file);
        text = lineEnd + 1;
    }
}

const char* const LOG_HEAD[] = {
    "<html>",
    "\t<head>",
    "<meta http-equiv='Content-Type' content='text/html'>",
    "<style type='text/css'>",
    "<!--",
    "body          {margin-top:0; margin-left:0; margin-right:0; color: #FFFFFF; font-family: helvetica, "
    "arial, "
    "geneva, sans-serif; font-size: 10pt; scrollbar-face-color: #00365E; scrollbar-highlight-color: #A9D0ED; "
    "scrollbar-3dlight-color: #7CB6E0; scrollbar-darkshadow-color: #1C5077; scrollbar-shadow-color: #226291; "
    "scrollbar-arrow-color: #A9D0ED; scrollbar-track-color: #00365E}",
    "table         {font-family: helvetica, arial, geneva, sans-serif; font-size: 10pt; text-decoration: "
    "none; "
    "color: #FFFFFF}",
    "A:link        {font-family: helvetica, arial, geneva, sans-serif; font-size: 10pt; text-decoration: "
    "none; "
    "color: #7CB6E0}",
    "A:visited     {font-family: helvetica, arial, geneva, sans-serif; font-size: 10pt; text-decoration: "
    "none; "
    "color: #7CB6E0}",
    "A:hover       {font-family: helvetica, arial, geneva, sans-serif; font-size: 10pt; text-decoration: "
    "underline}",
    "A:link.nav    {font-family: helvetica, arial, geneva, sans-serif; color: #7CB6E0}",
    "A:visited.nav {font-family: helvetica, arial, geneva, sans-serif; color: #7CB6E0}",
    "A:hover.nav   {font-family: helvetica, arial, geneva, sans-serif; text-decoration: underline}",
    "//-->",
    "</style>",
    "</head>",
    "<body>",
    "<pre>",
    "<title>" PEL_GROUP_NAME " - " PEL_WEB_ADDRESS "</title>",
    "<body bgcolor='#00365E' text='#FFFFFF'>",
    " <p align='center'><img border='0' src='data/spr/pel3d.bmp' width='260' height='160'><br> ",
    "<font size='5' color='#FF0000'><b>" PEL_GROUP_DESCRIPTION "<br>  ",
    " " PEL_AUTHOR_NAME "&nbsp; 1999-2004</b></font></p> ",
    " <p align='center'><font size='5' color='#FF0000'><b>Created PEL 2D/3D by " PEL_AUTHOR_NAME " ",
    " <br>GAME DEBUG LOG</b></font></p> ",
    " " PEL_WEB_ADDRESS " ",
};

}  // namespace

DebugLog::DebugLog() {
    if (std::FILE* emptied = plat::openFile(DEBUG_LOG_FILE, "wb")) std::fclose(emptied);
}

bool DebugLog::writeLine(const char* format, ...) {
    // Binary append: the CR LF pairs are written by hand so the bytes are the same on every system.
    file = plat::openFile(DEBUG_LOG_FILE, "ab");
    if (!file) return false;

    char small[512];
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) length = 0;
    if (static_cast<std::size_t>(length) < sizeof small) {
        writeWithCrLf(file, small, static_cast<std::size_t>(length));
    } else {
        std::string large(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(large.data(), large.size(), format, again);
        writeWithCrLf(file, large.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
    writeWithCrLf(file, "\n", 1);

    std::fclose(file);
    file = nullptr;
    return true;
}

void DebugLog::writeLogHeader() {
    for (const char* line : LOG_HEAD)
        writeLine("%s", line);
}
