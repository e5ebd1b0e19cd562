#include "assets/catalogue.h"

#include "assets/pictures.h"

namespace wt::assets {

std::vector<PictureJob> pictureJobs() {
    std::vector<PictureJob> jobs = {
        {"menu_background.png", drawMenuBackground},
        {"terminal.png", drawTerminal},
        {"button_green.png", [] { return drawPushButton(true); }},
        {"button_red.png", [] { return drawPushButton(false); }},
        {"switch_open.png", [] { return drawSwitch(false); }},
        {"switch_closed.png", [] { return drawSwitch(true); }},
        {"contactor_released.png", [] { return drawContactor(false); }},
        {"contactor_pulled_in.png", [] { return drawContactor(true); }},
        {"motor_at_rest.png", drawMotorAtRest},
        {"relay.png", drawRelay},
        {"fuse.png", drawFuse},
    };
    for (Exercise e : kExercises)
        jobs.push_back({"schematic_" + exerciseName(e) + ".png", [e] { return drawSchematic(e); }});
    return jobs;
}

std::vector<AnimationJob> animationJobs() {
    return {{"motor_forward.gif", true, kForwardFrames},
            {"motor_reverse.gif", false, kReverseFrames}};
}

}  // namespace wt::assets
