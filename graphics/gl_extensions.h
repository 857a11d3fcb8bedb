// The OpenGL extension query and the multitexture entry points.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// Entry points of GL_ARB_multitexture, null until initMultitexture has run and null afterwards when the
// driver does not offer them. They live in a namespace of their own because the system's GL header may
// declare functions of the same names.
namespace pel {
extern PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB;
extern PFNGLMULTITEXCOORD1DARBPROC glMultiTexCoord1dARB;
extern PFNGLMULTITEXCOORD1FVARBPROC glMultiTexCoord1fvARB;
extern PFNGLMULTITEXCOORD1DVARBPROC glMultiTexCoord1dvARB;
extern PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB;
extern PFNGLMULTITEXCOORD2DARBPROC glMultiTexCoord2dARB;
extern PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB;
extern PFNGLMULTITEXCOORD2DVARBPROC glMultiTexCoord2dvARB;
extern PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB;
extern PFNGLMULTITEXCOORD3DARBPROC glMultiTexCoord3dARB;
extern PFNGLMULTITEXCOORD3FVARBPROC glMultiTexCoord3fvARB;
extern PFNGLMULTITEXCOORD3DVARBPROC glMultiTexCoord3dvARB;
extern PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB;
extern PFNGLMULTITEXCOORD4DARBPROC glMultiTexCoord4dARB;
extern PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fvARB;
extern PFNGLMULTITEXCOORD4DVARBPROC glMultiTexCoord4dvARB;
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;
}  // namespace pel

// True when `name` is one of the blank-separated names of `extensionList`; only whole names match. Logs the
// answer either way. A null list counts as empty.
bool isExtensionSupported(const char* name, const char* extensionList);

// Checks GL_ARB_multitexture, counts the texture units and fetches the entry points; logs all of it. Needs
// the rendering context current.
void initMultitexture();

// The extension list of the current context, one name per line, under the engine's header lines.
void logExtensionList();
