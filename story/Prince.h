#pragma once

// The royal ball: a scene of its own that the evening's two lead-ins (the shop at the
// turn of an hour, or an arrival) call inside their event, after 19:00 has come. It
// opens and closes nothing: the caller's frame holds the voice pack of 757..880.
void EvBall();
