#include "game/entity_list.h"

#include "game_test_support.h"

namespace {

using EntityListTest = GameTest;

Sprite* brickAt(int x, int y, int state) {
    createBrick(nullptr, KIND_BRICK, x, y, state, 1, 1, 1.0f, 1.0f, 1.0f);
    return g_bricks.tail;
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
    EXPECT_EQ(g_bricks.head, nullptr);
    EXPECT_EQ(g_bricks.tail, nullptr);
    EXPECT_EQ(g_bricks.count, 0);

    Sprite* again = brickAt(4, 0, ENTITY_ALIVE);
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{again}));
}

TEST_F(EntityListTest, CreatedBrickTakesTemplateSizeAndTheGivenValues) {
    createBrick(&brickTemplate, KIND_BRICK, 53, 68, ENTITY_ALIVE, 1, 1, 0.1f, 0.2f, 0.3f);
    const Sprite& brick = *g_bricks.head;
    EXPECT_EQ(brick.width, 30);
    EXPECT_EQ(brick.height, 15);
    EXPECT_EQ(brick.screenHeight, 480);
    EXPECT_FLOAT_EQ(brick.x, 53.0f);
    EXPECT_FLOAT_EQ(brick.y, 68.0f);
    EXPECT_FLOAT_EQ(brick.vx, 0.0f);
    EXPECT_FLOAT_EQ(brick.vy, 0.0f);
    EXPECT_FLOAT_EQ(brick.red, 0.1f);
    EXPECT_FLOAT_EQ(brick.green, 0.2f);
    EXPECT_FLOAT_EQ(brick.blue, 0.3f);
    EXPECT_EQ(brick.kind, KIND_BRICK);
    EXPECT_EQ(brick.state, ENTITY_ALIVE);
    EXPECT_EQ(brick.tag, 1);
    EXPECT_EQ(brick.animMarker, 1);
}

TEST_F(EntityListTest, StatePassSettlesCreationStatesAtTheFirstPass) {
    brickAt(0, 100, ENTITY_DEAD);
    Sprite* appearing = brickAt(40, 100, ENTITY_APPEARING);
    brickAt(80, 100, ENTITY_GONE);
    Sprite* alive = brickAt(120, 100, ENTITY_ALIVE);

    updateBricks();
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{appearing, alive}));
    EXPECT_EQ(appearing->state, ENTITY_ALIVE);
    EXPECT_EQ(alive->state, ENTITY_ALIVE);
}

TEST_F(EntityListTest, FlyingBrickRisesSixPixelsAndGoesOnceAboveTheScreen) {
    Sprite* low = brickAt(0, 0, ENTITY_FLYING_OFF);
    brickAt(40, -25, ENTITY_FLYING_OFF);
    updateBricks();
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{low}));
    EXPECT_FLOAT_EQ(low->y, -6.0f);
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

TEST_F(EntityListTest, HitBrickOfHeightOneOrZeroGoesAtTheNextPass) {
    Sprite* one = brickAt(0, 0, ENTITY_HIT);
    one->width = 5;
    one->height = 1;
    Sprite* zero = brickAt(40, 0, ENTITY_HIT);
    zero->width = 5;
    zero->height = 0;
    updateBricks();
    EXPECT_EQ(g_bricks.count, 0);
}

TEST_F(EntityListTest, EffectLivesUntilItsAnimationHasWrapped) {
    Sprite* effect = new Sprite;
    effect->kind = KIND_EFFECT;
    effect->state = ENTITY_APPEARING;
    g_effects.append(effect);

    updateEffects();
    EXPECT_EQ(effect->state, ENTITY_ALIVE);
    updateEffects();
    EXPECT_EQ(g_effects.count, 1);
    effect->animMarker = 100;
    updateEffects();
    EXPECT_EQ(g_effects.count, 0);
}

TEST_F(EntityListTest, EntityOfTheWrongKindIsLeftAloneByThePassAndRemovedByTheTeardown) {
    Sprite* stranger = brickAt(0, 0, ENTITY_DEAD);
    stranger->kind = KIND_EFFECT;
    Sprite* effectStranger = new Sprite;
    effectStranger->kind = KIND_BRICK;
    effectStranger->state = ENTITY_DEAD;
    g_effects.append(effectStranger);

    for (int pass = 0; pass < 3; ++pass) {
        updateBricks();
        updateEffects();
    }
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{stranger}));
    EXPECT_EQ(entitiesOf(g_effects), (std::vector<Sprite*>{effectStranger}));
    EXPECT_EQ(stranger->state, ENTITY_DEAD);

    teardownGame();
    teardownGame();
    EXPECT_EQ(g_bricks.count + g_effects.count, 0);
    EXPECT_EQ(GameState, STATE_PLAY);
    teardownGame();
    EXPECT_EQ(GameState, STATE_MENU);
}

TEST_F(EntityListTest, TeardownDeletesBricksInWallOrderThenEffectsThenSwitchesToTheMenu) {
    GameState = STATE_TEARDOWN;
    brickAt(1, 0, ENTITY_ALIVE);
    Sprite* second = brickAt(2, 0, ENTITY_HIT);
    Sprite* effect = new Sprite;
    effect->kind = KIND_EFFECT;
    g_effects.append(effect);

    teardownGame();
    EXPECT_EQ(entitiesOf(g_bricks), (std::vector<Sprite*>{second}));
    teardownGame();
    EXPECT_EQ(g_bricks.count, 0);
    EXPECT_EQ(g_effects.count, 1);
    teardownGame();
    EXPECT_EQ(g_effects.count, 0);
    EXPECT_EQ(GameState, STATE_TEARDOWN);
    teardownGame();
    EXPECT_EQ(GameState, STATE_MENU);
}

TEST_F(EntityListTest, EmptyListsDrawNothingAndTeardownSwitchesAtOnce) {
    updateBricks();
    updateEffects();
    g_bricks.drawAll(1, true, true);
    g_effects.drawAllAnimated(1, true, 2.0f);
    GameState = STATE_TEARDOWN;
    teardownGame();
    EXPECT_EQ(GameState, STATE_MENU);
}

}  // namespace
