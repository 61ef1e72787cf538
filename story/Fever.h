#pragma once

// 芙蘿蕾's fever: the night in the forest maze that the turn-start and move tables
// both lead into, and the mechanics its scenes call by name.

// The whole night, inside an event its caller has begun and ends: the evening at the
// shop, the node loop from node 0, then the way home or the great wizard's house.
void EvForestMaze();
// The node loop alone, from `node`: 0..17 play their node and go on to the next, 18
// is the goal, -1 or any other number leaves the forest for tonight.
void ForestMazeFrom(int node);
// The way a node's caption took, reported by the caption's scene.
void MazeWayLeft();
void MazeWayRight();
void MazeWayBack();
void MazeWayHome();
