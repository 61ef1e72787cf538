#pragma once
#include <cstdint>
#include <string>

#include "tools/mkgamedata/Art.h"

// The event stage's scenery, drawn as the places and moments they are: the town's and
// the land's backgrounds by place and variant, the event pictures by their scene, and
// the characters' figures by who they are and the pose's expression.
namespace mkgamedata {

// The hour a background shows: 0 day, 1 evening, 2 night, 3 rain.
enum class Hour { Day, Evening, Night, Rain };

// A town place (0..21; 20 is the heroine's upstairs room, `room` picking which of its
// pictures) or a land place (32..44), 640 x 480.
Picture TownScene(int place, Hour hour, int room = 0);
Picture LandScene(int place, Hour hour);
// Event picture `index` (0..49) as the scene it shows, 640 x 480.
Picture EventScene(int index);
// Figure pose `pose` (0..57), whose catalogue label names its expression ("普通",
// "笑容" ...), on the key colour `key`.
Picture FigureScene(int pose, const std::string& label, std::uint8_t key);

}  // namespace mkgamedata
