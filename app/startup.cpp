#include "app/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <cfenv>
#include <cstdio>
#include <future>
#include <map>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

void prepareOnApproach(qt::QtPlatform& platform, const form::FormResource& resource) {
    // The menu holds no more than one window's pictures ahead, whatever the number of windows.
    std::map<QString, const form::WindowBlock*> opens;
    for (const MenuButton& button : menuButtons())
        if (const form::WindowBlock* block = resource.find(button.window))
            opens.emplace(QString::fromUtf8(button.name), block);
    std::vector<std::span<const std::uint8_t>> stills;
    for (int r = 0; r < static_cast<int>(media::Role::Count); ++r)
        if (const auto file = mediaFile(media::blob(static_cast<media::Role>(r))))
            if (decode::mediaKind(*file) == decode::MediaKind::Png) stills.push_back(*file);
    platform.prepareOnApproach(forms::ExerciseMenu, std::move(opens), std::move(stills));
}

int run(char* programPath) {
    std::fesetenv(FE_DFL_ENV);
#ifdef __GLIBC__
    // Pictures are megabytes each, made on one thread and let go on another. The allocator would
    // raise its mmap threshold after the first one is freed and carve the next ones out of the
    // heaps of both threads, where what is freed stays until trimmed; a fixed threshold keeps
    // every picture in pages of its own, handed back the moment it is let go.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
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
    // Every window, the message boxes included, carries the program's name and icon (the menu
    // the whole icon, the others its small sizes: windowIcons); the desktop entry's file name
    // ties the windows to the installed menu entry.
    QApplication::setApplicationDisplayName(displayName());
    QApplication::setDesktopFileName(desktopFileName());
    QApplication::setWindowIcon(programIcon(kWindowIconLargest));
    // The last window's close quits through the platform, which first tears the window down.
    QApplication::setQuitOnLastWindowClosed(false);
    qt::installClassicLook();
    if (!resource) return startFailed("form resource: " + error);
    ex::Exercises exercises;
    HandlerTable table = resolveHandlers(exercises);
    if (!table.missing.empty()) return startFailed("no handler for " + table.missing.front());

    qt::QtPlatform platform;
    platform.setWindowTitles(exerciseTitles(*resource));
    platform.setWindowIcons(windowIcons());
    platform.pictures().adopt(menuPicture, std::move(menuBackground));
    prepareOnApproach(platform, *resource);
    // Reading every record and the first bytes of every blob mapped in nearly all of them; the
    // platform lets go of them again after each window it draws.
    platform.releaseAfterPainting({form::embeddedFormResource(), media::area()});
    Ui ui(*resource, platform, std::move(table.handlers));
    platform.attach(ui);
    if (!ui.openWindow(forms::ExerciseMenu, nullptr, false) ||
        !ui.openInstance(forms::ExerciseMenu))
        return startFailed("the menu window could not be created");

    QApplication::exec();
    ui.shutdown();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

}  // namespace wt::app
