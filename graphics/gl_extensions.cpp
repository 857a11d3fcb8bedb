#include "graphics/gl_extensions.h"

#include <cstring>
#include <string>

#include "core/credits.h"
#include "core/debug_log.h"
#include "platform/window.h"

namespace pel {
PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB = nullptr;
PFNGLMULTITEXCOORD1DARBPROC glMultiTexCoord1dARB = nullptr;
PFNGLMULTITEXCOORD1FVARBPROC glMultiTexCoord1fvARB = nullptr;
PFNGLMULTITEXCOORD1DVARBPROC glMultiTexCoord1dvARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
PFNGLMULTITEXCOORD2DARBPROC glMultiTexCoord2dARB = nullptr;
PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB = nullptr;
PFNGLMULTITEXCOORD2DVARBPROC glMultiTexCoord2dvARB = nullptr;
PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
PFNGLMULTITEXCOORD3DARBPROC glMultiTexCoord3dARB = nullptr;
PFNGLMULTITEXCOORD3FVARBPROC glMultiTexCoord3fvARB = nullptr;
PFNGLMULTITEXCOORD3DVARBPROC glMultiTexCoord3dvARB = nullptr;
PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB = nullptr;
PFNGLMULTITEXCOORD4DARBPROC glMultiTexCoord4dARB = nullptr;
PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fvARB = nullptr;
PFNGLMULTITEXCOORD4DVARBPROC glMultiTexCoord4dvARB = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
}  // namespace pel

namespace {

constexpr GLenum MAX_TEXTURE_UNITS = 34018;  // GL_MAX_TEXTURE_UNITS_ARB

// Stores the address of an entry point in a typed function pointer.
template <typename Function>
void fetchEntryPoint(Function& pointer, const char* name) {
    pointer = reinterpret_cast<Function>(plat::getProcAddress(name));
}

const char* extensionString() {
    return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
}

}  // namespace

bool isExtensionSupported(const char* name, const char* extensionList) {
    if (!extensionList) extensionList = "";
    const std::size_t nameLength = std::strlen(name);
    const char* cursor = extensionList;
    const char* end = extensionList + std::strlen(extensionList);
    while (cursor < end) {
        const std::size_t n = std::strcspn(cursor, " ");
        if (n == nameLength && std::strncmp(cursor, name, n) == 0) {
            g_debugLog.writeLine("Ekran kartinin destekledigi Extension : %s", name);
            return true;
        }
        cursor += n + 1;
    }
    g_debugLog.writeLine("Ekran kartinin desteklemedigi Extension: %s", name);
    return false;
}

void initMultitexture() {
    isExtensionSupported("GL_ARB_multitexture", extensionString());

    GLint units = 0;
    glGetIntegerv(MAX_TEXTURE_UNITS, &units);
    // A driver without the extension reports an error and leaves the value alone; clear it so later error
    // checks do not see it. GL keeps one flag per kind of error, so a few reads clear them all; more would be
    // a driver that reports an error on every call (as one does with no context current) and never clears.
    constexpr int GL_ERROR_KINDS = 8;
    for (int read = 0; read < GL_ERROR_KINDS && glGetError() != GL_NO_ERROR; ++read) {
    }

    fetchEntryPoint(pel::glMultiTexCoord1fARB, "glMultiTexCoord1fARB");
    fetchEntryPoint(pel::glMultiTexCoord1dARB, "glMultiTexCoord1dARB");
    fetchEntryPoint(pel::glMultiTexCoord1fvARB, "glMultiTexCoord1fvARB");
    fetchEntryPoint(pel::glMultiTexCoord1dvARB, "glMultiTexCoord1dvARB");
    fetchEntryPoint(pel::glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
    fetchEntryPoint(pel::glMultiTexCoord2dARB, "glMultiTexCoord2dARB");
    fetchEntryPoint(pel::glMultiTexCoord2fvARB, "glMultiTexCoord2fvARB");
    fetchEntryPoint(pel::glMultiTexCoord2dvARB, "glMultiTexCoord2dvARB");
    fetchEntryPoint(pel::glMultiTexCoord3fARB, "glMultiTexCoord3fARB");
    fetchEntryPoint(pel::glMultiTexCoord3dARB, "glMultiTexCoord3dARB");
    fetchEntryPoint(pel::glMultiTexCoord3fvARB, "glMultiTexCoord3fvARB");
    fetchEntryPoint(pel::glMultiTexCoord3dvARB, "glMultiTexCoord3dvARB");
    fetchEntryPoint(pel::glMultiTexCoord4fARB, "glMultiTexCoord4fARB");
    fetchEntryPoint(pel::glMultiTexCoord4dARB, "glMultiTexCoord4dARB");
    fetchEntryPoint(pel::glMultiTexCoord4fvARB, "glMultiTexCoord4fvARB");
    fetchEntryPoint(pel::glMultiTexCoord4dvARB, "glMultiTexCoord4dvARB");
    fetchEntryPoint(pel::glActiveTextureARB, "glActiveTextureARB");
    fetchEntryPoint(pel::glClientActiveTextureARB, "glClientActiveTextureARB");

    g_debugLog.writeLine("Multitexturing , video kartinin destekledigi %d texture unit", units);
}

void logExtensionList() {
    // A private copy: the driver's string must not be written to.
    const char* driverList = extensionString();
    std::string copy = driverList ? driverList : "";

    g_debugLog.writeLine("\n");
    g_debugLog.writeLine(PEL_LOG_RULE);
    g_debugLog.writeLine(PEL_LOG_ENGINE_LINE);
    g_debugLog.writeLine(PEL_LOG_AUTHOR_LINE);
    g_debugLog.writeLine(PEL_LOG_RULE);
    g_debugLog.writeLine("OpenGL Ekran Karti :");
    g_debugLog.writeLine(PEL_LOG_RULE);

    std::size_t start = 0;
    while (start < copy.size()) {
        std::size_t end = copy.find(' ', start);
        if (end == std::string::npos) end = copy.size();
        if (end > start) g_debugLog.writeLine("%s", copy.substr(start, end - start).c_str());
        start = end + 1;
    }
}
