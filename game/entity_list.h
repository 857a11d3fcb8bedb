// The objects of the play field that come and go during a game: heap sprites threaded on intrusive doubly
// linked lists through their `next` and `prev` fields. Each list owns the sprites linked into it.
#pragma once

#include <cstdint>

#include "graphics/sprite.h"

// Which list logic applies to an entity.
constexpr std::int32_t KIND_EFFECT = 1;
constexpr std::int32_t KIND_BRICK = 2;

// Entity states. The last three are used by bricks only.
constexpr std::int32_t ENTITY_DEAD = -1;       // unlinked and deleted by the next state pass that reaches it
constexpr std::int32_t ENTITY_ALIVE = 1;       // a live brick can be hit by the ball
constexpr std::int32_t ENTITY_APPEARING = 2;   // alive from its next state pass on
constexpr std::int32_t ENTITY_HIT = 3;         // hit by the ball, shrinking away
constexpr std::int32_t ENTITY_FLYING_OFF = 4;  // rising until it is above the screen
constexpr std::int32_t ENTITY_GONE = 5;        // dead within the same pass

class EntityList {
public:
    EntityList() = default;
    // Deletes every entity still linked.
    virtual ~EntityList();

    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;

    // Links `entity` at the tail; the list owns it from now on.
    void append(Sprite* entity);
    // Unlinks a linked entity and deletes it.
    void unlink(Sprite* entity);
    // Deletes every linked entity and leaves the list empty.
    void deleteAll();

    // Sprite::draw / Sprite::drawAnimated on every entity from head to tail: the pixels and GL state of those
    // calls, drawn in batches unless drawInBatches is off.
    virtual void drawAll(int mode, bool blend, bool masked);
    virtual void drawAllAnimated(int mode, bool blend, float frameDelay);

    Sprite* head = nullptr;
    Sprite* tail = nullptr;
    std::int32_t count = 0;
    // Off, every entity is drawn with a draw of its own: what batching must match, and be measured against.
    bool drawInBatches = true;
};

extern EntityList g_effects;
extern EntityList g_bricks;

// Makes a sprite from the template (its textures and size) and appends it to g_bricks. Nothing is appended
// when the sprite cannot be allocated; a missing template leaves the sprite without image and with size 0.
void createBrick(const SpriteTemplate* spriteTemplate, int kind, int x, int y, int state, int tag,
                 int animMarker, float red, float green, float blue);

// The state passes of the two lists, run once per play frame. Entities of the other kind are left untouched.
void updateBricks();
void updateEffects();

// One step of leaving a game: deletes one brick, else one effect, else switches to the menu.
void teardownGame();
