#include "app/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <cfenv>
#include <cstdio>
#include <future>
#include <optional>

#include "app/identity.h"
#include "app/menu.h"
#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/form_reader.h"
#include "resources/media.h"
#include "ui/media/media_kind.h"
#include "ui/qt/qt_platform.h"

namespace wt::app {

namespace {

int startFailed(const std::string& why) {
    std::fprintf(stderr, "wiring-trainer: %s\n", why.c_str());
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："),
                    QStringLiteral("载入启动窗口失败"), QMessageBox::Ok);
    qt::labelOkButton(box);
    box.exec();
    return 1;
}

}  // namespace

int run(char* programPath) {
    std::fesetenv(FE_DFL_ENV);
    std::string error;
    const std::optional<form::FormResource> resource =
        form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount, &error);
    // The menu's background, the largest piece of start-up work, is decoded while the window
    // system starts.
    std::future<QImage> menuBackground;
    std::span<const std::uint8_t> menuPicture;
    if (const form::WindowBlock* menu = resource ? resource->find(forms::ExerciseMenu) : nullptr) {
        menuPicture = menu->window().picture;
        if (!menuPicture.empty()) menuBackground = qt::PictureCache::prepare(menuPicture);
    }

    // The program takes no command line: Qt sees the program name only.
    int argc = 1;
    char* argv[] = {programPath, nullptr};
    QApplication app(argc, argv);
    // Every window, the message boxes included, carries the program's name and icon; the
    // desktop entry's file name ties the windows to the installed menu entry.
    QApplication::setApplicationDisplayName(displayName());
    QApplication::setDesktopFileName(desktopFileName());
    QApplication::setWindowIcon(programIcon());
    // The last window's close quits through the platform, which first tears the window down.
    QApplication::setQuitOnLastWindowClosed(false);
    qt::installClassicLook();
    if (!resource) return startFailed("form resource: " + error);
    ex::Exercises exercises;
    HandlerTable table = resolveHandlers(exercises);
    if (!table.missing.empty()) return startFailed("no handler for " + table.missing.front());

    qt::QtPlatform platform;
    platform.setWindowTitles(exerciseTitles(*resource));
    platform.pictures().adopt(menuPicture, std::move(menuBackground));
    Ui ui(*resource, platform, std::move(table.handlers));
    platform.attach(ui);
    if (!ui.openWindow(forms::ExerciseMenu, nullptr, false) ||
        !ui.openInstance(forms::ExerciseMenu))
        return startFailed("the menu window could not be created");
    platform.sound().openInBackground();
    // The exercise windows' pictures are made ready while the learner looks at the menu.
    std::vector<const form::WindowBlock*> exerciseBlocks;
    for (const form::WindowBlock& block : resource->blocks())
        if (block.windowId != forms::ExerciseMenu) exerciseBlocks.push_back(&block);
    std::vector<std::span<const std::uint8_t>> stills;
    for (int r = 0; r < static_cast<int>(media::Role::Count); ++r)
        if (const auto file = mediaFile(media::blob(static_cast<media::Role>(r))))
            if (decode::mediaKind(*file) == decode::MediaKind::Png) stills.push_back(*file);
    platform.warmUpAfterFirstPaint(std::move(exerciseBlocks), std::move(stills));

    QApplication::exec();
    ui.shutdown();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

}  // namespace wt::app
