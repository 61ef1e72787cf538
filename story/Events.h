#pragma once

// The events of the look, peddle, search, turn-start and move tables, each a function
// named as its table names it (story/EventTables.cpp puts them in their slots). The
// lists name every event once, in slot order; an event that stands in several slots
// is named by its lowest.

// clang-format off
// Look: slot 11 holds EvLook010 again.
#define LUMIA_LOOK_EVENTS(X) \
    X(EvLook000) X(EvLook001) X(EvLook002) X(EvLook003) X(EvLook004) X(EvLook005) \
    X(EvLook006) X(EvLook007) X(EvLook008) X(EvLook009) X(EvLook010) X(EvLook012) \
    X(EvLook013) X(EvLook014) X(EvLook015) X(EvLook016) X(EvLook017) X(EvLook018) \
    X(EvLook019) X(EvLook020) X(EvLook021) X(EvLook022) X(EvLook023) X(EvLook024) \
    X(EvLook025) X(EvLook026) X(EvLook027) X(EvLook028)

// Peddle.
#define LUMIA_PEDDLE_EVENTS(X) \
    X(EvPeddle000) X(EvPeddle001) X(EvPeddle002) X(EvPeddle003) X(EvPeddle004) \
    X(EvPeddle005) X(EvPeddle006) X(EvPeddle007) X(EvPeddle008) X(EvPeddle009)

// Search.
#define LUMIA_SEARCH_EVENTS(X) \
    X(EvSearch000) X(EvSearch001) X(EvSearch002) X(EvSearch003)

// Turn start.
#define LUMIA_TURN_START_EVENTS(X) \
    X(EvTurnStart000) X(EvTurnStart001) X(EvTurnStart002) X(EvTurnStart003) X(EvTurnStart004) \
    X(EvTurnStart005) X(EvTurnStart006) X(EvTurnStart007) X(EvTurnStart008) X(EvTurnStart009) \
    X(EvTurnStart010) X(EvTurnStart011) X(EvTurnStart012) X(EvTurnStart013) X(EvTurnStart014) \
    X(EvTurnStart015) X(EvTurnStart016) X(EvTurnStart017) X(EvTurnStart018) X(EvTurnStart019) \
    X(EvTurnStart020) X(EvTurnStart021) X(EvTurnStart022) X(EvTurnStart023) X(EvTurnStart024) \
    X(EvTurnStart025) X(EvTurnStart026) X(EvTurnStart027) X(EvTurnStart028) X(EvTurnStart029)

// Move: EvMove057 stands in slots 57, 58 and 77, EvMove059..076 again in 78..95,
// EvMove124 in 124 and 128.
#define LUMIA_MOVE_EVENTS(X) \
    X(EvMove000) X(EvMove001) X(EvMove002) X(EvMove003) X(EvMove004) X(EvMove005) \
    X(EvMove006) X(EvMove007) X(EvMove008) X(EvMove009) X(EvMove010) X(EvMove011) \
    X(EvMove012) X(EvMove013) X(EvMove014) X(EvMove015) X(EvMove016) X(EvMove017) \
    X(EvMove018) X(EvMove019) X(EvMove020) X(EvMove021) X(EvMove022) X(EvMove023) \
    X(EvMove024) X(EvMove025) X(EvMove026) X(EvMove027) X(EvMove028) X(EvMove029) \
    X(EvMove030) X(EvMove031) X(EvMove032) X(EvMove033) X(EvMove034) X(EvMove035) \
    X(EvMove036) X(EvMove037) X(EvMove038) X(EvMove039) X(EvMove040) X(EvMove041) \
    X(EvMove042) X(EvMove043) X(EvMove044) X(EvMove045) X(EvMove046) X(EvMove047) \
    X(EvMove048) X(EvMove049) X(EvMove050) X(EvMove051) X(EvMove052) X(EvMove053) \
    X(EvMove054) X(EvMove055) X(EvMove056) X(EvMove057) X(EvMove059) X(EvMove060) \
    X(EvMove061) X(EvMove062) X(EvMove063) X(EvMove064) X(EvMove065) X(EvMove066) \
    X(EvMove067) X(EvMove068) X(EvMove069) X(EvMove070) X(EvMove071) X(EvMove072) \
    X(EvMove073) X(EvMove074) X(EvMove075) X(EvMove076) X(EvMove096) X(EvMove097) \
    X(EvMove098) X(EvMove099) X(EvMove100) X(EvMove101) X(EvMove102) X(EvMove103) \
    X(EvMove104) X(EvMove105) X(EvMove106) X(EvMove107) X(EvMove108) X(EvMove109) \
    X(EvMove110) X(EvMove111) X(EvMove112) X(EvMove113) X(EvMove114) X(EvMove115) \
    X(EvMove116) X(EvMove117) X(EvMove118) X(EvMove119) X(EvMove120) X(EvMove121) \
    X(EvMove122) X(EvMove123) X(EvMove124) X(EvMove125) X(EvMove126) X(EvMove127) \
    X(EvMove129) X(EvMove130) X(EvMove131) X(EvMove132) X(EvMove133) X(EvMove134) \
    X(EvMove135) X(EvMove136) X(EvMove137) X(EvMove138) X(EvMove139) X(EvMove140) \
    X(EvMove141) X(EvMove142) X(EvMove143) X(EvMove144) X(EvMove145) X(EvMove146) \
    X(EvMove147) X(EvMove148) X(EvMove149) X(EvMove150) X(EvMove151) X(EvMove152) \
    X(EvMove153) X(EvMove154) X(EvMove155) X(EvMove156) X(EvMove157) X(EvMove158) \
    X(EvMove159) X(EvMove160) X(EvMove161) X(EvMove162) X(EvMove163) X(EvMove164) \
    X(EvMove165) X(EvMove166) X(EvMove167) X(EvMove168) X(EvMove169) X(EvMove170) \
    X(EvMove171) X(EvMove172) X(EvMove173) X(EvMove174) X(EvMove175) X(EvMove176) \
    X(EvMove177) X(EvMove178) X(EvMove179) X(EvMove180) X(EvMove181) X(EvMove182) \
    X(EvMove183) X(EvMove184) X(EvMove185) X(EvMove186) X(EvMove187) X(EvMove188) \
    X(EvMove189) X(EvMove190) X(EvMove191)
// clang-format on

#define LUMIA_DECLARE_EVENT(name) bool name();
LUMIA_LOOK_EVENTS(LUMIA_DECLARE_EVENT)
LUMIA_PEDDLE_EVENTS(LUMIA_DECLARE_EVENT)
LUMIA_SEARCH_EVENTS(LUMIA_DECLARE_EVENT)
LUMIA_TURN_START_EVENTS(LUMIA_DECLARE_EVENT)
LUMIA_MOVE_EVENTS(LUMIA_DECLARE_EVENT)
#undef LUMIA_DECLARE_EVENT
