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

// The pass unlinks from the head, the middle and the tail; at -25 a brick flying off is above the screen.
TEST_F(EntityListTest, OneBrickPassCarriesEachBrickThroughAsManyStatesAsApply) {
    // State, y and height before; state (0: deleted) and y after.
    const std::tuple<int, int, int, int, float> cases[] = {
        {ENTITY_DEAD, 100, 15, 0, 0.0f},
        {ENTITY_APPEARING, 100, 15, ENTITY_ALIVE, 100.0f},
        {ENTITY_GONE, 100, 15, 0, 0.0f},
        {ENTITY_ALIVE, 100, 15, ENTITY_ALIVE, 100.0f},
        {ENTITY_FLYING_OFF, 0, 15, ENTITY_FLYING_OFF, -6.0f},
        {ENTITY_FLYING_OFF, -25, 15, 0, 0.0f},
        {ENTITY_HIT, 100, 2, ENTITY_HIT, 100.1f},
        {ENTITY_HIT, 100, 1, 0, 0.0f},
        {ENTITY_HIT, 100, 0, 0, 0.0f}};
    std::vector<Sprite*> kept;
    std::vector<std::pair<int, float>> expected;
    for (const auto& [state, y, height, stateAfter, yAfter] : cases) {
        Sprite* brick = brickAt(0, y, state);
        brick->height = height;
        if (stateAfter == 0) continue;
        kept.push_back(brick);
        expected.emplace_back(stateAfter, yAfter);
    }
    updateBricks();
    ASSERT_EQ(entitiesOf(g_bricks), kept);
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(std::make_pair(kept[i]->state, kept[i]->y), expected[i]) << "brick " << i;
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
    const auto step = [] {
        teardownGame();
        return std::make_tuple(entitiesOf(g_bricks), entitiesOf(g_effects).size(), GameState);
    };
    using Bricks = std::vector<Sprite*>;
    EXPECT_EQ(step(), std::make_tuple(Bricks{stranger}, 2u, STATE_TEARDOWN)) << "the first-made goes first";
    EXPECT_EQ(step(), std::make_tuple(Bricks{}, 2u, STATE_TEARDOWN));
    EXPECT_EQ(step(), std::make_tuple(Bricks{}, 1u, STATE_TEARDOWN));
    EXPECT_EQ(step(), std::make_tuple(Bricks{}, 0u, STATE_TEARDOWN));
    EXPECT_EQ(step(), std::make_tuple(Bricks{}, 0u, STATE_MENU));
}

}  // namespace
