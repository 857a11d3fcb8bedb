// The entity lists: linking, the state passes of bricks and effects, and the teardown that empties them.
#include "game/entity_list.h"

#include "game_test_support.h"

namespace {

using EntityListTest = GameTest;

Sprite* brickAt(int x, int y, int state) {
    createBrick(nullptr, KIND_BRICK, x, y, state, 1, 1, 1.0f, 1.0f, 1.0f);
    return g_bricks.tail;
}

Sprite* appendEffect(int kind, int state) {
    Sprite* effect = new Sprite;
    effect->kind = kind;
    effect->state = state;
    g_effects.append(effect);
    return effect;
}

TEST_F(EntityListTest, UnlinkingHeadTailAndOnlyEntityKeepsBothEndsConsistent) {
    Sprite* first = brickAt(1, 0, ENTITY_ALIVE);
    Sprite* second = brickAt(2, 0, ENTITY_ALIVE);
    Sprite* third = brickAt(3, 0, ENTITY_ALIVE);
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{first, second, third}));
    g_bricks.unlink(first);
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{second, third}));
    g_bricks.unlink(third);
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{second}));
    g_bricks.unlink(second);
    EXPECT_EQ(entitiesOf(g_bricks), std::vector<Sprite*>{});
    EXPECT_EQ(g_bricks.head, nullptr);
    Sprite* again = brickAt(4, 0, ENTITY_ALIVE);
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{again}));
}

TEST_F(EntityListTest, OneBrickPassCarriesEachBrickThroughAsManyStatesAsApply) {
    struct Case {
        int state;
        int y, height;
        int stateAfter;  // 0: deleted
        float yAfter;
    };
    const Case cases[] = {
        {ENTITY_DEAD, 100, 15, 0, 0.0f},
        {ENTITY_APPEARING, 100, 15, ENTITY_ALIVE, 100.0f},
        {ENTITY_GONE, 100, 15, 0, 0.0f},
        {ENTITY_ALIVE, 100, 15, ENTITY_ALIVE, 100.0f},
        {ENTITY_FLYING_OFF, 0, 15, ENTITY_FLYING_OFF, -6.0f},
        {ENTITY_FLYING_OFF, -25, 15, 0, 0.0f},  // at -31, above the screen
        {ENTITY_HIT, 100, 1, 0, 0.0f},
        {ENTITY_HIT, 100, 0, 0, 0.0f},
    };
    std::vector<std::pair<Sprite*, const Case*>> staying;
    std::vector<Sprite*> expected;
    for (const Case& each : cases) {
        Sprite* brick = brickAt(0, each.y, each.state);
        brick->height = each.height;
        if (each.stateAfter != 0) staying.emplace_back(brick, &each);
        if (each.stateAfter != 0) expected.push_back(brick);
    }
    updateBricks();
    ASSERT_EQ(entitiesOf(g_bricks), expected);
    for (const auto& [brick, each] : staying) {
        EXPECT_EQ(brick->state, each->stateAfter) << each->state;
        EXPECT_FLOAT_EQ(brick->y, each->yAfter) << each->state;
    }
}

TEST_F(EntityListTest, HitBrickShrinksOnePixelPerPassAndGoesAtHeightZero) {
    createBrick(&brickTemplate, KIND_BRICK, 20, 50, ENTITY_HIT, 1, 1, 1.0f, 1.0f, 1.0f);
    Sprite* brick = g_bricks.head;
    for (int pass = 1; pass <= 14; ++pass) {
        updateBricks();
        ASSERT_EQ(g_bricks.count, 1) << "pass " << pass;
        EXPECT_EQ(brick->width, 30 - pass);
        EXPECT_EQ(brick->height, 15 - pass);
    }
    EXPECT_NEAR(brick->x, 21.4f, 1e-4);
    EXPECT_NEAR(brick->y, 51.4f, 1e-4);
    updateBricks();
    EXPECT_EQ(g_bricks.count, 0);
}

TEST_F(EntityListTest, EffectLivesUntilItsAnimationHasWrapped) {
    Sprite* effect = appendEffect(KIND_EFFECT, ENTITY_APPEARING);
    updateEffects();
    EXPECT_EQ(effect->state, ENTITY_ALIVE);
    updateEffects();
    EXPECT_EQ(g_effects.count, 1);
    effect->animMarker = 100;
    updateEffects();
    EXPECT_EQ(g_effects.count, 0);
}

// An entity of the wrong kind for its list is left alone by the list's pass, but not by the teardown.
TEST_F(EntityListTest, TeardownDeletesBricksInWallOrderThenEffectsThenSwitchesToTheMenu) {
    Sprite* first = brickAt(1, 0, ENTITY_ALIVE);
    Sprite* stranger = brickAt(2, 0, ENTITY_DEAD);
    stranger->kind = KIND_EFFECT;
    appendEffect(KIND_BRICK, ENTITY_DEAD);
    appendEffect(KIND_EFFECT, ENTITY_ALIVE);
    updateBricks();
    updateEffects();
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{first, stranger}));
    EXPECT_EQ(g_effects.count, 2);

    GameState = STATE_TEARDOWN;
    teardownGame();
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{stranger}));
    teardownGame();
    teardownGame();
    EXPECT_EQ(g_bricks.count, 0);
    EXPECT_EQ(g_effects.count, 1);
    teardownGame();
    EXPECT_EQ(g_effects.count, 0);
    EXPECT_EQ(GameState, STATE_TEARDOWN);
    teardownGame();
    EXPECT_EQ(GameState, STATE_MENU);

    // Empty lists: the passes and the drawing do nothing, and the teardown switches at once.
    GameState = STATE_TEARDOWN;
    updateBricks();
    updateEffects();
    g_bricks.drawAll(1, true, true);
    g_effects.drawAllAnimated(1, true, 2.0f);
    teardownGame();
    EXPECT_EQ(GameState, STATE_MENU);
}

}  // namespace
