#pragma once

// The evening walk's scene loop (EvTurnStart023): from `scene`, each scene plays and
// names the next; the walk ends at a negative number or at one that names no scene
// (the scenes are 1..7).
namespace story {
void EveningWalk(int scene);
// The loop from the scene the walk's first choice names ("call EveningWalk").
void EveningWalkFromChoice();
}  // namespace story

int EvTurnStart023_Scene01();
int EvTurnStart023_Scene02();
int EvTurnStart023_Scene03();
int EvTurnStart023_Scene04();
int EvTurnStart023_Scene05();
int EvTurnStart023_Scene06();
int EvTurnStart023_Scene07();
