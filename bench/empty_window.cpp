// Floor for start-up time and resident memory: an empty QWidget of the menu's size at the
// menu's place, nothing else. Runs until it is closed or killed.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(994, 491);
    window.move(50, 50);
    window.show();
    window.move(50, 50);
    return QApplication::exec();
}
