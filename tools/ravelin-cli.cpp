#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "usage: ravelin-cli import|events|info|simulate ...\n";
    return 1;
}
