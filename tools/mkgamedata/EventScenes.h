#pragma once
#include <vector>

#include "tools/mkgamedata/Scenery.h"

// What each event picture shows, one row a picture: the events that show it, the
// place and the hour it is set in, who is there in which pose and with which face, and
// the things the moment needs (a flask held up, a fire, a flower crown ...). The event
// pictures are drawn from these rows alone.
namespace mkgamedata {

// The people of the scenes, each with one look (and the heroine in her three dresses).
enum class Who {
    Cat,
    Fer,
    Prince,
    Renet,
    RenetSwim,
    Renet2,
    Cocot,
    Cocot2,
    Mother,
    FloMother,
    RenFather,
    King,
    Wizard,
    Boy,
    Flo,
    Flo2,
    Lazarus,
    Heroine,
    HeroineGown,   // at the ball
    HeroineBride,  // at the wedding
};

// How someone is in the scene.
enum class Pose {
    Stand,
    Sit,     // sitting (or fallen) on the ground
    Lie,     // lying on the ground, head to the left
    Bathe,   // head and shoulders above the water
    Fly,     // sitting on a broom in the air
    Close,   // near, the chest at `base`: two of them close make an embrace
    Fallen,  // sitting where she fell, the right leg stretched out before her
    InBed,   // lying in bed under the blanket, the head on the pillow at (x, base)
};

// A face, as the figures' expressions number them.
enum Face {
    kPlain,
    kSmile,
    kAngry,
    kSad,
    kSurprised,
    kSerious,
    kShy,
    kTroubled,
    kInPain,
    kEyesShut,  // asleep, fainted, or eyes closed for the potion
};

// What a scene is set against.
enum class Backdrop {
    Town,        // a town place's background (`place`)
    Land,        // a land place's background (`place`)
    Spirit,      // a night with a column of light
    Cave,        // inside a cave
    FocusLines,  // white, with lines drawn to the middle
    Map,         // the country, on parchment
    NearMap,     // the town's surroundings, on parchment
};

enum class Prop {
    Flask,  // a potion flask
    Tub,    // the mixing cauldron used as a bath, seen close
    Steam,
    WateringCan,
    SpilledCan,  // a watering can knocked over, its water spilled
    FlowerCrown,
    Flowers,  // a band of flowers along the bottom
    Hearts,
    Sparkles,  // magic light
    Lyre,
    Notes,  // music notes in the air
    Fire,   // a camp fire
    Grave,
    Ribbon,  // a red ribbon bow, 蕾妮特's keepsake, laid on a grave
    StagePlatform,
    Tears,       // tear drops by a face
    Breakfast,   // a laid table
    FlowerPots,  // pots of flowers on the shop's counter
    DarkAura,    // a dark haze around someone
    Bells,       // wedding bells
    Rain,
    HandOut,       // a hand held out to help someone up
    Bundle,        // something hidden behind the back
    Root,          // a tree root arching out of the path, a trunk beside it
    Crowd,         // onlookers packed shoulder to shoulder behind the front
    Parade,        // a procession with banners and bunting passing behind the crowd
    FlowerClumps,  // tall flowers in front, over whoever lies among them
};

struct SceneFigure {
    Who who;
    int face;
    Pose pose;
    int x;     // the middle of the figure
    int base;  // its feet (for Sit and Lie the ground; for Bathe the water line)
    double scale;
    // Where both hands are (holding a flask, an ankle, the lyre's strings); none (-1)
    // leaves the arms hanging.
    int reachX = -1, reachY = -1;
};

struct SceneProp {
    Prop prop;
    int x, y;
};

struct EventSceneRow {
    int index;            // the event picture's number, 0..49
    const char* shownBy;  // the story events that show it
    const char* what;     // the moment, in a few words
    Backdrop backdrop;
    int place;  // for Town and Land backdrops
    Hour hour;
    std::vector<SceneFigure> figures;  // drawn in this order, the farther first
    std::vector<SceneProp> props;      // drawn after the figures
    bool grey = false;                 // a memory, drawn in grey
};

// Every row, by picture number.
const std::vector<EventSceneRow>& EventSceneRows();
// The row of picture `index`, or null when it has none.
const EventSceneRow* FindEventSceneRow(int index);

}  // namespace mkgamedata
