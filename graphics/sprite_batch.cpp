#include "graphics/sprite_batch.h"

#include <GL/gl.h>

#include <algorithm>

#include "graphics/sprite_modes.h"

namespace {

// Quads per run. The game's longest list, the wall, has 216 bricks; a longer list takes several runs.
constexpr int RUN_QUADS = 256;
constexpr int QUAD_VERTICES = 4;
constexpr int RUN_VERTICES = RUN_QUADS * QUAD_VERTICES;

// The arrays' elements, tightly packed as glVertexPointer and its kin read them.
struct Pair {
    GLfloat first;
    GLfloat second;
};
struct Colour {
    GLfloat red;
    GLfloat green;
    GLfloat blue;
    GLfloat alpha;
};
constexpr GLint PAIR_SIZE = 2;  // a position's x and y (z is 0, as in the quads drawn one at a time), s and t
constexpr GLint COLOUR_SIZE = 4;
static_assert(sizeof(Pair) == PAIR_SIZE * sizeof(GLfloat) && sizeof(Colour) == COLOUR_SIZE * sizeof(GLfloat),
              "no padding between the arrays' elements");

// What a quad covers in the 2D projection. Quads that only touch along an edge share no pixel: the edge's
// pixels go to one of them.
struct Area {
    float left;
    float right;
    float bottom;
    float top;
};

Area areaOf(const QuadCorners& corners) {
    return {std::min(corners.x[0], corners.x[1]), std::max(corners.x[0], corners.x[1]),
            std::min(corners.y[0], corners.y[2]), std::max(corners.y[0], corners.y[2])};
}

bool overlap(const Area& a, const Area& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

// One run of sprites drawn in one mode with the same textures, held as vertex arrays. There is one run for
// the whole program, in static storage, so drawing a list allocates nothing.
class SpriteRun {
public:
    void start(const DrawMode& drawMode, bool blendOn, bool withMask);
    // Whether the sprite, to be drawn with `image`, can join the run. An empty run takes any sprite.
    bool accepts(const Sprite& sprite, GLuint image, const Area& area) const;
    void add(const Sprite& sprite, GLuint image, const QuadCorners& corners, const QuadCoords& coords);
    // Draws the run, if it has any quad, and empties it.
    void draw();

private:
    void drawMaskPass(GLsizei vertices);
    void drawMainPass(GLsizei vertices);

    const DrawMode* mode = nullptr;
    bool blend = false;
    bool maskPass = false;
    GLuint texture = 0;
    GLuint maskTexture = 0;
    int quads = 0;
    Area areas[RUN_QUADS] = {};
    Pair positions[RUN_VERTICES] = {};
    Pair coords[RUN_VERTICES] = {};
    Pair maskCoords[RUN_VERTICES] = {};
    Colour colours[RUN_VERTICES] = {};
};

SpriteRun g_run;

void SpriteRun::start(const DrawMode& drawMode, bool blendOn, bool withMask) {
    mode = &drawMode;
    blend = blendOn;
    maskPass = withMask;
    quads = 0;
}

bool SpriteRun::accepts(const Sprite& sprite, GLuint image, const Area& area) const {
    if (quads == 0) return true;
    if (quads == RUN_QUADS || image != texture) return false;
    if (!maskPass) return true;
    if (sprite.maskTexture != maskTexture) return false;
    return std::none_of(areas, areas + quads, [&area](const Area& other) { return overlap(area, other); });
}

void SpriteRun::add(const Sprite& sprite, GLuint image, const QuadCorners& corners,
                    const QuadCoords& quadCoords) {
    texture = image;
    maskTexture = sprite.maskTexture;
    areas[quads] = areaOf(corners);
    const QuadCoords plain = plainCoords();
    const int first = quads * QUAD_VERTICES;
    for (int corner = 0; corner < QUAD_VERTICES; ++corner) {
        positions[first + corner] = {corners.x[corner], corners.y[corner]};
        coords[first + corner] = {quadCoords.s[corner], quadCoords.t[corner]};
        maskCoords[first + corner] = {plain.s[corner], plain.t[corner]};
        colours[first + corner] = {sprite.red, sprite.green, sprite.blue, sprite.alpha};
    }
    ++quads;
}

// Multiplies the frame buffer by the masks: white keeps the background, black cuts the sprites' holes.
void SpriteRun::drawMaskPass(GLsizei vertices) {
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, maskTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexCoordPointer(PAIR_SIZE, GL_FLOAT, 0, maskCoords);
    glDrawArrays(GL_QUADS, 0, vertices);
}

void SpriteRun::drawMainPass(GLsizei vertices) {
    if (mode->setsBlendFunc) glBlendFunc(mode->sourceFactor, mode->destinationFactor);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexCoordPointer(PAIR_SIZE, GL_FLOAT, 0, coords);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(COLOUR_SIZE, GL_FLOAT, 0, colours);
    glDrawArrays(GL_QUADS, 0, vertices);
    glDisableClientState(GL_COLOR_ARRAY);
}

void SpriteRun::draw() {
    if (quads == 0) return;
    const GLsizei vertices = quads * QUAD_VERTICES;
    beginSpriteDraw(blend);
    applyBlendStep(mode->blendStep);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(PAIR_SIZE, GL_FLOAT, 0, positions);
    if (maskPass) drawMaskPass(vertices);
    drawMainPass(vertices);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // The current colour and texture coordinate are the last vertex's, as after drawing one at a time.
    const Colour& colour = colours[vertices - 1];
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    glTexCoord2f(coords[vertices - 1].first, coords[vertices - 1].second);
    glDisable(GL_BLEND);
    quads = 0;
}

// What a draw in a mode outside the table leaves: nothing drawn, blending off.
void drawNothing(bool blend) {
    beginSpriteDraw(blend);
    glDisable(GL_BLEND);
}

}  // namespace

void drawSpriteList(Sprite* first, int mode, bool blend, bool masked) {
    if (!first) return;
    const DrawMode* m = drawModeFor(mode);
    if (!m) {
        drawNothing(blend);
        return;
    }
    g_run.start(*m, blend, m->maskPass && masked);
    for (Sprite* sprite = first; sprite; sprite = sprite->next) {
        const QuadCorners corners = quadCorners(*sprite);
        if (!g_run.accepts(*sprite, sprite->texture, areaOf(corners))) g_run.draw();
        g_run.add(*sprite, sprite->texture, corners, mainPassCoords(*m, *sprite));
    }
    g_run.draw();
}

void drawSpriteListAnimated(Sprite* first, int mode, bool blend, float frameDelay) {
    if (!first) return;
    const DrawMode* m = animatedModeFor(mode);
    if (!m) {
        for (Sprite* sprite = first; sprite; sprite = sprite->next)
            stepAnimation(*sprite, frameDelay);
        drawNothing(blend);
        return;
    }
    g_run.start(*m, blend, false);
    for (Sprite* sprite = first; sprite; sprite = sprite->next) {
        stepAnimation(*sprite, frameDelay);
        const GLuint image = animatedTexture(*sprite, mode);
        const QuadCorners corners = quadCorners(*sprite);
        if (!g_run.accepts(*sprite, image, areaOf(corners))) g_run.draw();
        g_run.add(*sprite, image, corners, mainPassCoords(*m, *sprite));
    }
    g_run.draw();
}
