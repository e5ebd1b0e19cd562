#include "app/identity.h"

#include <QPixmap>
#include <algorithm>

#include "app/program.h"
#include "form_ids.h"

extern "C" const unsigned char* const wt_icon_table[];

namespace wt::app {

QString displayName() {
    return QString::fromUtf8(kDisplayName);
}

QString desktopFileName() {
    return QStringLiteral("edu.wiringtrainer.WiringTrainer");
}

QIcon programIcon(int largest) {
    QIcon icon;
    for (const unsigned char* const* entry = wt_icon_table; entry[0] != nullptr; entry += 2) {
        if (entry[1] <= entry[0]) continue;
        QPixmap picture;
        if (picture.loadFromData(entry[0], static_cast<uint>(entry[1] - entry[0]), "PNG") &&
            (largest <= 0 || std::max(picture.width(), picture.height()) <= largest))
            icon.addPixmap(picture);
    }
    return icon;
}

std::map<std::uint32_t, QIcon> windowIcons() {
    return {{forms::ExerciseMenu, programIcon()}};
}

std::map<std::uint32_t, QString> exerciseTitles(const form::FormResource& resource) {
    std::map<std::uint32_t, QString> titles;
    for (const auto& [window, title] : titlesByWindow(resource))
        titles[window] = QString::fromStdString(title);
    return titles;
}

}  // namespace wt::app
