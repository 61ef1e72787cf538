#pragma once
// Moved to tests/support/GoldenImage.h; kept for tests written before the move.
#include "tests/support/GoldenImage.h"
namespace golden = test;
