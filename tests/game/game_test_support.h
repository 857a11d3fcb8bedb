// The game's tests' set-up: empty lists, fresh colours, sprites of their own, an ear on the sounds played.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "audio/sound.h"
#include "core/game_state.h"
#include "game/entity_list.h"
#include "game/menu.h"
#include "game/new_game.h"
#include "game/scene.h"
#include "game/sound_cue.h"

inline auto gameSounds() {
    return std::tie(g_sndTop, g_sndYan, g_sndYkr, g_sndPatlama, g_sndTops);
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bricks.deleteAll();
        g_effects.deleteAll();
        GameState = STATE_PLAY;
        g_brickRed = g_brickGreen = g_brickBlue = 0.0f;
        g_cursorRed = g_cursorGreen = g_cursorBlue = 0.0f;
        savedSounds = gameSounds();
        gameSounds() = std::make_tuple(&top, &yan, &ykr, &patlama, &tops);
        played().clear();
        g_soundCueListener = [](const Sound* sound) { played().push_back(sound); };
        brickTemplate.width = 30.0f;
        brickTemplate.height = 15.0f;
        brickTemplate.screenHeight = 480.0f;
    }

    void TearDown() override {
        g_soundCueListener = nullptr;
        gameSounds() = savedSounds;
        g_bricks.deleteAll();
        g_effects.deleteAll();
    }

    static std::vector<const Sound*>& played() {
        static std::vector<const Sound*> sounds;
        return sounds;
    }
    static int timesPlayed(const Sound& sound) {
        return static_cast<int>(std::count(played().begin(), played().end(), &sound));
    }

    Sprite background, wall, ball, paddle, glow, plate, plateGlow, logo, lava, cursor;
    SpriteTemplate brickTemplate;
    SpriteTemplate* brickTemplatePointer = &brickTemplate;
    PlayScene play{background, wall, ball, paddle, glow, plate, plateGlow, brickTemplatePointer};
    MenuScene menu{background, logo, lava, glow, plate, cursor};
    Sound top, yan, ykr, patlama, tops;
    std::tuple<Sound*, Sound*, Sound*, Sound*, Sound*> savedSounds;
};

inline std::vector<float> tintOf(const Sprite& sprite) {
    return {sprite.red, sprite.green, sprite.blue};
}
inline std::vector<float> motionOf(const Sprite& sprite) {
    return {sprite.x, sprite.y, sprite.vx, sprite.vy};
}

// The entities of a list from head to tail, checked against the links both ways.
inline std::vector<Sprite*> entitiesOf(const EntityList& list) {
    std::vector<Sprite*> entities;
    Sprite* previous = nullptr;
    for (Sprite* entity = list.head; entity; entity = entity->next) {
        EXPECT_EQ(entity->prev, previous);
        entities.push_back(entity);
        previous = entity;
    }
    EXPECT_EQ(list.tail, previous);
    EXPECT_EQ(list.count, static_cast<int>(entities.size()));
    return entities;
}
