#include "app/identity.h"

#include <QPixmap>

#include "app/menu.h"
#include "form_ids.h"
#include "ui/gbk.h"

extern "C" const unsigned char* const wt_icon_table[];

namespace wt::app {

QString displayName() {
    return QStringLiteral("电机控制接线实训");
}

QString desktopFileName() {
    return QStringLiteral("edu.wiringtrainer.WiringTrainer");
}

QIcon programIcon() {
    QIcon icon;
    for (const unsigned char* const* entry = wt_icon_table; entry[0] != nullptr; entry += 2) {
        if (entry[1] <= entry[0]) continue;
        QPixmap picture;
        if (picture.loadFromData(entry[0], static_cast<uint>(entry[1] - entry[0]), "PNG"))
            icon.addPixmap(picture);
    }
    return icon;
}

std::map<std::uint32_t, QString> exerciseTitles(const form::FormResource& resource) {
    std::map<std::uint32_t, QString> titles;
    const form::WindowBlock* menu = resource.find(forms::ExerciseMenu);
    if (menu == nullptr) return titles;
    for (const MenuButton& button : menuButtons())
        for (const form::ControlRecord& record : menu->records)
            if (record.kind == form::Kind::Button && record.nameGbk == gbk(button.name) &&
                !record.captionGbk.empty())
                titles[button.window] = QString::fromStdString(utf8(record.captionGbk));
    return titles;
}

}  // namespace wt::app
