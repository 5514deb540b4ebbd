// The yardstick of the start-up figures: an empty Qt window of the main
// window's size with a menu bar, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Leer"));
    for (const char* title : {"&Spiel", "&Optionen", "&Hilfe"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("&Neu"));
    auto* client = new QWidget(&window);
    client->setFixedSize(386, 434);
    window.setCentralWidget(client);
    window.show();
    return QApplication::exec();
}
