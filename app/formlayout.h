#ifndef FORMLAYOUT_H
#define FORMLAYOUT_H

#include "twips.h"

// Every position and size of the window, in twips, from the top-left corner of the control's
// container: the window's client area, or the frame for the controls inside a frame.
namespace FormLayout {
constexpr int clientWidth = 6060;
constexpr int clientHeight = 8400;

// Top-level controls.
constexpr Twips::Rect Label1{120, 120, 4695, 435};
constexpr Twips::Rect Label9{4920, 240, 1095, 255};
constexpr Twips::Rect cmdCom{120, 780, 855, 375};
constexpr Twips::Rect cmdTCP{120, 1200, 855, 375};
constexpr Twips::Rect frCom{1080, 660, 4815, 1155};
constexpr Twips::Rect frTCP{1080, 7140, 4815, 1155}; // moved onto frCom's place at load
constexpr Twips::Rect cmdTest{120, 1980, 1095, 375};
constexpr Twips::Rect comKopiperTekst{1320, 1980, 1095, 375};
constexpr Twips::Rect cmdBlankut{2520, 1980, 1095, 375};
constexpr Twips::Rect cmdHelp{4080, 1980, 855, 375};
constexpr Twips::Rect cmdAvslutt{5040, 1980, 855, 375};
constexpr Twips::Rect txtResultat{120, 2460, 5775, 4575};

// Inside frCom.
constexpr Twips::Rect Label4{120, 300, 975, 255};
constexpr Twips::Rect comboHastighet{1200, 240, 1095, 315};
constexpr Twips::Rect Label5{2400, 300, 2175, 255};
constexpr Twips::Rect Label2{120, 780, 975, 315};
constexpr Twips::Rect txtComFra{1200, 720, 375, 285};
constexpr Twips::Rect Label3{1680, 780, 135, 255};
constexpr Twips::Rect txtComTil{1920, 720, 375, 285};
constexpr Twips::Rect Label6{3000, 780, 855, 255};
constexpr Twips::Rect txtPause{3900, 720, 615, 285};

// Inside frTCP.
constexpr Twips::Rect Label7{120, 360, 975, 255};
constexpr Twips::Rect txtIP{1080, 300, 1455, 285};
constexpr Twips::Rect Label8{2700, 360, 1995, 255};
constexpr Twips::Rect cmdOpenTCP{1080, 720, 1455, 315};
constexpr Twips::Rect cmdSendTest{2640, 720, 435, 315};
constexpr Twips::Rect cmdCloseTCP{3180, 720, 1515, 315};
} // namespace FormLayout

#endif // FORMLAYOUT_H
