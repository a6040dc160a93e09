// The start-up baseline: a Qt Widgets program that shows one empty window and nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(480, 360);
    window.show();
    return QApplication::exec();
}
