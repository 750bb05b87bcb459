// The baseline of the start-up benchmark: the least a Qt Widgets program does to show a
// main window. With RAVELIN_EXIT_WHEN_SHOWN set it ends once the window is up, as the
// program does.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1200, 800);
    window.show();
    if (qEnvironmentVariableIsSet("RAVELIN_EXIT_WHEN_SHOWN"))
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    return app.exec();
}
