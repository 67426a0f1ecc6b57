// The figures' frame for the harnesses whose bytes end up in a pose: the
// sine table and the motion keys. Bad numbers from a file must stop short
// of memory the frame does not own.
#pragma once

// Frees whatever the last input left and builds both figures as a new
// match does: start places, full health, start eye, light and modes at
// their start values, no motions loaded.
void RebuildFigures();

// Plays `frames` frames the way a fight does (camera, update, hits, sort
// and draw, each frame in another camera, draw and shade mode, outlines
// and shadows on every other frame) into a frame with guard pixels round
// it; aborts when a draw wrote outside the 320 x 240 picture.
void PlayFrames(int frames);
