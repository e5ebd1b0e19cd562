#include "app/startup.h"

int main(int /*argc*/, char** argv) {
    return wt::app::run(argv[0]);
}
