// Each test starts from the game as a new process holds it: the game's
// values and the current directory as they stand before the first test are
// kept, and put back before every test (support/test_main.cpp), so the
// tests pass in any order and all in one process.
#pragma once

// Takes the copy; called once, before any test runs.
void KeepStartValues();
// Frees what the last test left built, then puts the copy back.
void RestoreStartValues();
