// The list of generated pictures: file name and how to draw it. The driver writes them all, the
// contact sheet shows them all, the tests check each against its size.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

namespace wt::assets {

struct PictureJob {
    std::string file;  // e.g. "switch_closed.png"
    std::function<QImage()> draw;
};

struct AnimationJob {
    std::string file;  // e.g. "motor_forward.gif"
    bool forward;
    int frames;
};

std::vector<PictureJob> pictureJobs();
std::vector<AnimationJob> animationJobs();

}  // namespace wt::assets
