#pragma once
// Moved to tests/support/ScriptedRandom.h; kept for tests written before the move.
#include "tests/support/ScriptedRandom.h"
using test::ScriptedRandom;
