// Background music: one MP3 track played by a media graph from start-up to shutdown, started over whenever it
// ends. The audio start-up and shutdown (music and sound effects together) live here too.
#pragma once

#include "platform/media.h"
#include "platform/types.h"

// The graph's interfaces, null until initAudio obtains them and again after shutdownAudio releases them.
extern plat::GraphBuilder* g_graphBuilder;
extern plat::MediaControl* g_mediaControl;
extern plat::MediaEvent* g_mediaEvent;
extern plat::MediaSeeking* g_mediaSeeking;

// Starts COM and the music, then loads the sound effects. Failures show a box and start-up goes on. Always 1.
int initAudio();
// Drains the graph's events; an end of stream seeks back to the start. Called first thing in every frame.
HRESULT pollMusicEvents();
// Frees the sound effects, stops and releases the graph, leaves COM.
void shutdownAudio();
