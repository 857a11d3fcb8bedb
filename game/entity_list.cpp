#include "game/entity_list.h"

#include <new>

#include "core/game_state.h"
#include "graphics/sprite_batch.h"

namespace {

// A hit brick loses this much of each side per pass, truncated: one pixel for any positive size.
constexpr double BRICK_SHRINK_STEP = 0.2;
// ...and drifts this far right and down, so it shrinks toward its middle.
constexpr float BRICK_SHRINK_DRIFT = 0.1f;
constexpr float BRICK_FLY_STEP = 6.0f;
// A brick flying off is gone once its top edge is this far above the screen.
constexpr float BRICK_FLY_OFF_LIMIT = -30.0f;
constexpr std::int32_t EFFECT_FINISHED_MARKER = 100;

std::int32_t shrunk(std::int32_t size) {
    return static_cast<std::int32_t>(size - BRICK_SHRINK_STEP);
}

// Each check works on the state the previous ones left, so one pass can carry a brick through several states.
void stepBrick(Sprite* brick) {
    if (brick->state == ENTITY_APPEARING) brick->state = ENTITY_ALIVE;
    if (brick->state == ENTITY_HIT) {
        brick->height = shrunk(brick->height);
        brick->width = shrunk(brick->width);
        brick->x += BRICK_SHRINK_DRIFT;
        brick->y += BRICK_SHRINK_DRIFT;
        if (brick->height <= 0) brick->state = ENTITY_GONE;
    }
    if (brick->state == ENTITY_FLYING_OFF) {
        brick->y -= BRICK_FLY_STEP;
        if (brick->y < BRICK_FLY_OFF_LIMIT) brick->state = ENTITY_DEAD;
    }
    if (brick->state == ENTITY_GONE) brick->state = ENTITY_DEAD;
    if (brick->state == ENTITY_DEAD) g_bricks.unlink(brick);
}

void stepEffect(Sprite* effect) {
    if (effect->state == ENTITY_APPEARING) effect->state = ENTITY_ALIVE;
    if (effect->state == ENTITY_ALIVE && effect->animMarker == EFFECT_FINISHED_MARKER)
        effect->state = ENTITY_DEAD;
    if (effect->state == ENTITY_DEAD) g_effects.unlink(effect);
}

// Walks a list whose step may delete the entity in hand, so the next one is noted first.
template <typename Step>
void statePass(EntityList& list, std::int32_t kind, Step step) {
    Sprite* entity = list.head;
    while (entity) {
        Sprite* following = entity->next;
        if (entity->kind == kind) step(entity);
        entity = following;
    }
}

}  // namespace

EntityList::~EntityList() {
    deleteAll();
}

void EntityList::append(Sprite* entity) {
    entity->next = nullptr;
    if (!tail) {
        entity->prev = nullptr;
        head = entity;
    } else {
        entity->prev = tail;
        tail->next = entity;
    }
    tail = entity;
    ++count;
}

void EntityList::unlink(Sprite* entity) {
    if (entity->prev) {
        entity->prev->next = entity->next;
    } else {
        head = entity->next;
    }
    if (entity->next) {
        entity->next->prev = entity->prev;
    } else {
        tail = entity->prev;
    }
    delete entity;
    --count;
}

void EntityList::deleteAll() {
    Sprite* entity = head;
    while (entity) {
        Sprite* next = entity->next;
        delete entity;
        entity = next;
    }
    head = nullptr;
    tail = nullptr;
    count = 0;
}

void EntityList::drawAll(int mode, bool blend, bool masked) {
    if (drawInBatches) {
        drawSpriteList(head, mode, blend, masked);
        return;
    }
    for (Sprite* entity = head; entity; entity = entity->next)
        entity->draw(mode, blend, masked);
}

void EntityList::drawAllAnimated(int mode, bool blend, float frameDelay) {
    if (drawInBatches) {
        drawSpriteListAnimated(head, mode, blend, frameDelay);
        return;
    }
    for (Sprite* entity = head; entity; entity = entity->next)
        entity->drawAnimated(mode, blend, frameDelay);
}

void createBrick(const SpriteTemplate* spriteTemplate, int kind, int x, int y, int state, int tag,
                 int animMarker, float red, float green, float blue) {
    Sprite* brick = new (std::nothrow) Sprite;
    if (!brick) return;
    if (spriteTemplate) brick->initFromTemplate(*spriteTemplate);
    brick->setColor(red, green, blue);
    brick->setKind(kind);
    brick->setX(static_cast<float>(x));
    brick->setY(static_cast<float>(y));
    brick->setVelocityX(0.0f);
    brick->setVelocityY(0.0f);
    brick->setState(state);
    brick->setTag(tag);
    brick->setAnimMarker(animMarker);
    g_bricks.append(brick);
}

void updateBricks() {
    statePass(g_bricks, KIND_BRICK, stepBrick);
}

void updateEffects() {
    statePass(g_effects, KIND_EFFECT, stepEffect);
}

void teardownGame() {
    if (g_bricks.count > 0) {
        if (g_bricks.head) g_bricks.unlink(g_bricks.head);
        return;
    }
    if (g_effects.count < 1) {
        GameState = STATE_MENU;
        return;
    }
    if (g_effects.head) g_effects.unlink(g_effects.head);
}
