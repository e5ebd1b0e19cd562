// The fixed pictures and animations of the program, each drawn from scratch with QPainter.
// Sizes are the sizes of the generated files; the program scales them into its boxes.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <string>
#include <vector>

namespace wt::assets {

inline constexpr int kSwitchWidth = 340, kSwitchHeight = 310;
inline constexpr int kContactorSize = 505;
inline constexpr int kMotorWidth = 619, kMotorHeight = 431;
inline constexpr int kAnimationWidth = 620, kAnimationHeight = 434;
inline constexpr int kForwardFrames = 69, kReverseFrames = 68;
inline constexpr int kFrameDelayCs = 10;
// The turning coupling disc of the motor pictures, in animation-frame coordinates.
inline constexpr double kMotorHubX = 300, kMotorHubY = 160, kMotorDiscRadius = 108;

// Four-pole miniature circuit breaker, lever up ("I", closed) or down ("O", open).
QImage drawSwitch(bool closed);
// AC contactor; the window shows the contact bridge open (released) or closed (pulled in).
QImage drawContactor(bool pulledIn);
// Screw terminal, 51 x 51.
QImage drawTerminal();
// Mushroom push-button in its bezel, 144 x 144: green start or red stop.
QImage drawPushButton(bool green);
// Thermal overload relay, 496 x 320.
QImage drawRelay();
// Control-circuit fuse holder, 160 x 240.
QImage drawFuse();
// Background of the exercise menu, 1501 x 672.
QImage drawMenuBackground();
// Three-phase induction motor seen from its drive end, at rest (619 x 431).
QImage drawMotorAtRest();
// The running motor (620 x 434), `count` frames of one seamless loop; forward turns clockwise
// seen from the shaft end, reverse counter-clockwise.
std::vector<QImage> drawMotorFrames(bool forward, int count);

// What a device picture (breaker, contactor, relay, fuse) keeps for the terminals that the
// windows lay over it, in picture pixels. One picture serves every window, and each window puts
// its terminals a little elsewhere; the terminal buttons carry the screws, so the picture draws
// no screw where they go, only dark terminal strips for them to sit in, and prints its markings
// (1/L1, 2/T1, A1, 95, ...) where no window puts a terminal. The screws it does draw (the
// breaker's supply side) lie where no terminal comes.
struct DeviceMarking {
    QRectF rect;
    QString text;
};
struct DeviceLayout {
    int width = 0, height = 0;
    std::vector<QRectF> strips;  // every terminal lying on the picture lies in one
    std::vector<DeviceMarking> markings;
    std::vector<QRectF> screws;  // drawn screw heads with their washers
};
// By the picture's asset name (switch_open, switch_closed, contactor_released,
// contactor_pulled_in, relay, fuse); nullptr for any other picture.
const DeviceLayout* deviceLayout(const std::string& picture);

// The six circuits.
enum class Exercise {
    ContinuousRun,
    Jog,
    ContinuousJog,
    ForwardReverse,
    DoubleInterlock,
    MultiLocation
};
inline constexpr Exercise kExercises[] = {Exercise::ContinuousRun,   Exercise::Jog,
                                          Exercise::ContinuousJog,   Exercise::ForwardReverse,
                                          Exercise::DoubleInterlock, Exercise::MultiLocation};
// Short name used in asset names: continuous_run, jog, ...
std::string exerciseName(Exercise e);
// Window name of the exercise: ContinuousRunExercise, ...
std::string exerciseWindow(Exercise e);

inline constexpr int kSchematicSize = 768;
// Black-on-white circuit schematic of the exercise: main circuit and control circuit.
QImage drawSchematic(Exercise e);

}  // namespace wt::assets
