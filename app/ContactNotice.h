#pragma once

#include "ui/IDialogs.h"

#include <random>

// The notice with the makers' contact that may follow the end of the program.

// Draws an integer uniformly from 0 to 9; the notice is due when it is 2 (about one end in ten).
bool ContactNoticeDue(std::mt19937& generator);

// A generator seeded from the time of day.
std::mt19937 TimeSeededGenerator();

// The information box of the notice: information icon, one OK button.
TMessageBox ContactNotice();
